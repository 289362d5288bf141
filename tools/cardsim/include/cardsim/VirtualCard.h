#pragma once
// A virtual card plugged into one vpcd slot: it connects to vpcd on 127.0.0.1, answers vpcd's
// power, reset and ATR requests and its APDUs from its own thread, and can be pulled out, put back
// or told to fail a command. Every APDU exchanged is logged for tests.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "cardsim/CardApplication.h"
#include "cardsim/Profile.h"

namespace rvp::cardsim {

// A planned failure: the nth command (counted from when it is armed; only commands with
// instruction `ins` count when given) gets the fault instead of its answer.
struct Fault {
  enum class Kind {
    Status,          // answer only the status word `status`
    Drop,            // close the connection without answering: the card is out until insert()
    Silent,          // never answer (the reader waits until the card is removed)
    Replace,         // answer `bytes` instead (garbage, or one byte; vpcd takes no bytes for a removal)
    CutAnswer,       // the real answer cut to its first `keep` bytes (status word included)
    CutData,         // the real answer's data cut to its first `keep` bytes, its status word kept
    Extend,          // the real answer's data followed by `bytes`, then its status word
    AnswerThenPull,  // the real answer, then the card is pulled out (out until insert())
  };
  Kind kind = Kind::Status;
  int nth = 1;
  std::optional<std::uint8_t> ins;
  std::uint16_t status = 0x6F00;
  Bytes bytes;
  std::size_t keep = 0;

  static Fault statusWord(std::uint16_t sw, int nth = 1, std::optional<std::uint8_t> ins = std::nullopt) {
    return {Kind::Status, nth, ins, sw, {}, 0};
  }
  static Fault drop(int nth = 1, std::optional<std::uint8_t> ins = std::nullopt) {
    return {Kind::Drop, nth, ins, 0, {}, 0};
  }
  static Fault silent(int nth = 1, std::optional<std::uint8_t> ins = std::nullopt) {
    return {Kind::Silent, nth, ins, 0, {}, 0};
  }
  static Fault replace(Bytes answer, int nth = 1, std::optional<std::uint8_t> ins = std::nullopt) {
    return {Kind::Replace, nth, ins, 0, std::move(answer), 0};
  }
  static Fault cutAnswer(std::size_t keep, int nth = 1, std::optional<std::uint8_t> ins = std::nullopt) {
    return {Kind::CutAnswer, nth, ins, 0, {}, keep};
  }
  static Fault cutData(std::size_t keep, int nth = 1, std::optional<std::uint8_t> ins = std::nullopt) {
    return {Kind::CutData, nth, ins, 0, {}, keep};
  }
  static Fault extend(Bytes extra, int nth = 1, std::optional<std::uint8_t> ins = std::nullopt) {
    return {Kind::Extend, nth, ins, 0, std::move(extra), 0};
  }
  static Fault answerThenPull(int nth = 1, std::optional<std::uint8_t> ins = std::nullopt) {
    return {Kind::AnswerThenPull, nth, ins, 0, {}, 0};
  }

  // The answer this fault sends for the card's real `answer` (data, SW1, SW2); for Drop and Silent,
  // nothing is sent.
  Bytes mangle(const Bytes& answer) const;
};

struct ApduExchange {
  enum class Outcome { Answered, Injected, Dropped, Unanswered };
  Bytes command;
  Bytes response;  // data and SW1 SW2 as sent; empty when dropped or unanswered
  Outcome outcome = Outcome::Answered;
};

// Power requests from the reader (pcscd's periodic ATR polls are not recorded).
enum class PowerEvent { PowerOff, PowerOn, Reset };

class VirtualCard {
 public:
  // Starts the card's thread; with `inserted` it connects to vpcd at once (retrying until vpcd listens).
  VirtualCard(Profile profile, std::uint16_t port, bool inserted = true);
  ~VirtualCard();
  VirtualCard(const VirtualCard&) = delete;
  VirtualCard& operator=(const VirtualCard&) = delete;

  // vpcd port of slot 0 or 1: RVP_VPCD_PORT0 / RVP_VPCD_PORT1 from the environment (set by
  // scripts/private-bench), else 35963 / 35964.
  static std::uint16_t portOfSlot(int slot);

  std::uint16_t port() const { return port_; }
  void insert();  // put the card in: connect to vpcd (returns at once; the reader sees it shortly)
  void remove();  // pull the card out: returns once the connection is closed
  bool inserted() const;
  bool connected() const;  // currently connected to vpcd

  // How pcscd took the card since it last connected. pcscd powers a card it sees arrive. One it only
  // keeps asking for its ATR, unpowered, it takes for the card that was in the slot before: that
  // happens when pcscd cleared its reader state after failing to reset a card already gone (a
  // process that exits holding a connection), before its own watch noticed the removal. It then
  // never reports this card present until it sees the slot empty.
  enum class Arrival { Powered, TakenForThePreviousCard, Pending };
  // Waits until pcscd powers the card or has plainly taken it for the previous one; Pending when
  // `timeout` passes first or the card is out.
  Arrival waitForArrival(std::chrono::milliseconds timeout);

  void inject(const Fault& fault);
  void clearFaults();

  std::vector<ApduExchange> apduLog() const;
  void clearApduLog();  // clears the power log too
  std::vector<PowerEvent> powerLog() const;
  // vpcd sends power off without waiting for the card: wait until `count` events are logged.
  bool waitForPowerEvents(std::size_t count, std::chrono::milliseconds timeout);
  // Called on the card's thread after each exchange (keep it short; it must not call back in).
  void onExchange(std::function<void(const ApduExchange&)> observer);

  // Swaps in a new card without leaving the reader, as if the reader never noticed the change:
  // contents and session state, faults, logs and the observer start afresh. Only possible while
  // connected with the same ATR and no command left unanswered; returns false otherwise.
  bool replaceWhileInserted(Profile profile);

  // Card contents as they stand now.
  std::vector<Bytes> records(std::uint16_t fileId) const;
  int pinTriesLeft() const;
  Profile contents() const;

 private:
  struct ArmedFault {
    Fault fault;
    int seen = 0;
  };
  void run();
  void handleMessage(const Bytes& message);
  void handleCommand(const Bytes& command);
  void sendLocked(const Bytes& payload);
  void closeLocked();
  void wake();

  const std::uint16_t port_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  CardApplication app_;
  std::vector<ApduExchange> log_;
  std::vector<PowerEvent> powerLog_;
  std::vector<ArmedFault> faults_;
  std::function<void(const ApduExchange&)> observer_;
  int socket_ = -1;
  bool wantInserted_;
  bool stopping_ = false;
  bool awaitingAnswer_ = false;  // a command was left unanswered on this connection
  bool poweredSinceConnect_ = false;
  int unpoweredAtrRequests_ = 0;  // ATR requests on this connection before any power on or reset
  int wakePipe_[2] = {-1, -1};
  std::thread thread_;
};

}  // namespace rvp::cardsim
