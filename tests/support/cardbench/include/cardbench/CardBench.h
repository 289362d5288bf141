#pragma once
// Virtual cards in the vpcd slots of a real pcscd, for GoogleTest. See README.md.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "cardbench/Pcscd.h"
#include "cardbench/ReaderWatch.h"
#include "cardsim/VirtualCard.h"

namespace rvp::cardbench {

using cardsim::ApduExchange;
using cardsim::Bytes;
using cardsim::Fault;
using cardsim::PowerEvent;
using cardsim::Profile;

// One of the example profiles by name ("bank", "postal": tools/cardsim/profiles/<name>.profile),
// or a profile file by path (anything containing '/').
Profile loadProfile(const std::string& nameOrPath);
// A profile from text in the test itself.
Profile parseProfile(const std::string& text);

// A virtual card in a slot. The constructor makes sure pcscd runs, starts the card and waits until
// pcscd reports it present; the destructor pulls it out and waits until pcscd's own watch has seen
// the reader empty, so the next test (or process) starts from an empty slot. Every wait has its own
// time limit and throws on expiry.
class BenchCard {
 public:
  BenchCard(int slot, Profile profile, std::chrono::milliseconds timeout = std::chrono::seconds(10));
  ~BenchCard();
  BenchCard(const BenchCard&) = delete;
  BenchCard& operator=(const BenchCard&) = delete;

  int slot() const { return slot_; }
  const std::string& readerName() const { return reader_; }

  void remove();  // pull the card out and wait until pcscd's watch has seen the reader empty
  // Put it back and wait until pcscd reports the card present. When pcscd takes it for the card that
  // was in the slot before (it missed that one leaving), the card is kept out until pcscd sees the
  // slot empty and then put in again.
  void insert();

  void inject(const Fault& fault) { card_->inject(fault); }
  std::vector<ApduExchange> apduLog() const { return card_->apduLog(); }
  std::vector<Bytes> apduCommands() const;        // just the commands, in order
  void clearApduLog() { card_->clearApduLog(); }  // and the power log
  std::vector<cardsim::PowerEvent> powerLog() const { return card_->powerLog(); }

  cardsim::VirtualCard& card() { return *card_; }

  // Turns this card into one with `profile` without pulling it out, when pcscd still reports it
  // present and nothing is pending (see VirtualCard::replaceWhileInserted). False: nothing changed.
  bool replaceWhileInserted(Profile profile);

  // Returns once pcscd reports the card held by no connection of another process (connections this
  // process holds to it are the running test's own). Throws std::runtime_error on expiry.
  void waitUntilNoOtherConnection();

 private:
  void putIn(const std::string& failure);
  bool takeOut();

  const int slot_;
  const std::string reader_;
  const std::chrono::milliseconds timeout_;
  std::unique_ptr<cardsim::VirtualCard> card_;
  std::uint64_t seenPresent_ = 0;  // the reader's state word when pcscd last reported this card present
};

// Fixture base. startCard() puts a card with the profile into the slot. When the test ends its cards
// stay in their slots, parked: the next test's startCard() on that slot turns the parked card into the
// new one without a removal and insertion (which pcscd notices only by polling, up to 0.4 s each),
// as long as it is still present with the same ATR and nothing is pending; otherwise the parked card
// is pulled out and a new one inserted. Calling startCard() twice in one test always pulls the first
// card out. A BenchCard made directly pulls out any parked card of its slot first.
class CardBenchTest : public ::testing::Test {
 protected:
  BenchCard& startCard(int slot, const Profile& profile);
  BenchCard& startCard(int slot, const std::string& profileNameOrPath) {
    return startCard(slot, loadProfile(profileNameOrPath));
  }
  void TearDown() override;

 private:
  std::array<std::unique_ptr<BenchCard>, 2> cards_;
};

}  // namespace rvp::cardbench
