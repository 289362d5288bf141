#pragma once
// The card's behaviour, free of any transport: one command APDU in, one response APDU out.
#include <cstdint>
#include <optional>

#include "cardsim/Apdu.h"
#include "cardsim/Profile.h"

namespace rvp::cardsim {

class CardApplication {
 public:
  explicit CardApplication(Profile profile);

  const Bytes& atr() const { return profile_.atr; }
  // Power off, power on and reset all end the session: selection and PIN verification are lost.
  void endSession();

  // Answers one command: response data followed by SW1 SW2. Never throws for bad input.
  Bytes process(const Bytes& command);

  // Card contents as they stand (for tests and the program's summary).
  const Profile& contents() const { return profile_; }
  int pinTriesLeft() const { return pinTriesLeft_; }
  bool pinVerified() const { return pinVerified_; }

 private:
  struct Answer {
    Bytes data;
    std::uint16_t sw;
  };
  Answer dispatch(const CommandApdu& c);
  Answer select(const CommandApdu& c);
  Answer readRecord(const CommandApdu& c);
  Answer readBinary(const CommandApdu& c);
  Answer verify(const CommandApdu& c);
  Answer updateRecord(const CommandApdu& c);
  Answer writeLogged(const CommandApdu& c);

  ElementaryFile* currentFile();
  Bytes fileHeader(std::uint16_t fid, const ElementaryFile* file) const;
  std::string nextSerialText();

  Profile profile_;
  int pinTriesLeft_;
  bool pinVerified_ = false;
  bool applicationOpen_ = false;  // the application was selected in this session
  bool inApplicationDf_ = false;  // current DF: the application (else the master file)
  std::optional<std::uint16_t> currentEf_;
};

}  // namespace rvp::cardsim
