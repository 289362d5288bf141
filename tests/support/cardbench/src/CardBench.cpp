#include "cardbench/CardBench.h"

#include "cardbench/OwnConnections.h"

#include <winscard.h>

#include <algorithm>
#include <stdexcept>

namespace rvp::cardbench {

// Cards left in their slots by finished fixture tests. At exit the process first ends the card
// connections it still holds (code run outside a fixture test may have left one; the controller keeps
// one for the whole process): pcscd ends a dead process's connections only some time after the exit,
// and until then the next process could not connect to its card. Then each parked card is pulled out
// and the process waits until pcscd's own watch has seen the slot empty: when pcscd drops a connection
// after the card has gone it empties the reader state without its watch noticing; a card the next
// process inserts before the watch's next poll would then be taken for the old one and never reported.
struct ParkedCards {
  ~ParkedCards() { endOwnConnections(); }
  std::array<std::unique_ptr<BenchCard>, 2> slots;
};

namespace {
ParkedCards& parked() {
  static ParkedCards cards;
  return cards;
}
}  // namespace

Profile loadProfile(const std::string& nameOrPath) {
  if (nameOrPath.find('/') != std::string::npos) return Profile::load(nameOrPath);
  return Profile::load(std::string(RVP_CARDSIM_PROFILE_DIR) + "/" + nameOrPath + ".profile");
}

Profile parseProfile(const std::string& text) { return Profile::parse(text, "profile text"); }

BenchCard::BenchCard(int slot, Profile profile, std::chrono::milliseconds timeout)
    : slot_(slot), reader_(cardbench::readerName(slot)), timeout_(timeout) {
  parked().slots.at(slot).reset();
  ensurePcscd(timeout);
  // A card left by an earlier test or process would hold the slot: the new card waits unserved.
  if (!waitForPresence(reader_, CardPresence::Empty, timeout_))
    throw std::runtime_error(reader_ + " still holds a card; is another card (or test) using slot " +
                             std::to_string(slot) + "?");
  card_ = std::make_unique<cardsim::VirtualCard>(std::move(profile), cardsim::VirtualCard::portOfSlot(slot),
                                                 /*inserted=*/false);
  putIn("pcscd did not see the virtual card in ");
  waitUntilNoOtherConnection();
}

void BenchCard::waitUntilNoOtherConnection() {
  // A connection of this process belongs to the running test (an earlier test's were ended when it
  // finished); any other is left by a process that is gone or going, and pcscd ends it shortly.
  if (holdsConnectionTo(reader_) || waitUntilFree(reader_, timeout_)) return;
  throw std::runtime_error(reader_ + ": another process still holds a connection to the card after " +
                           std::to_string(timeout_.count()) + " ms; is another test using slot " +
                           std::to_string(slot_) + "?");
}

BenchCard::~BenchCard() {
  try {
    takeOut();
  } catch (const std::exception&) {
    // pcscd gone: nothing holds the slot any more
  }
}

void BenchCard::putIn(const std::string& failure) {
  const auto deadline = std::chrono::steady_clock::now() + timeout_;
  auto left = [&] {
    return std::max(std::chrono::milliseconds(0),
                    std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()));
  };
  for (;;) {
    card_->insert();
    const auto arrival = card_->waitForArrival(left());
    if (arrival == cardsim::VirtualCard::Arrival::TakenForThePreviousCard) {
      // pcscd missed the previous card leaving: keep this one out until its watch sees the slot empty.
      const auto stale = readerState(reader_);
      card_->remove();
      if (!waitForRemovalSeen(reader_, stale, left())) break;
      continue;
    }
    if (arrival == cardsim::VirtualCard::Arrival::Powered && waitForPresence(reader_, CardPresence::Present, left())) {
      seenPresent_ = readerState(reader_);
      return;
    }
    break;
  }
  throw std::runtime_error(failure + reader_);
}

bool BenchCard::takeOut() {
  card_->remove();
  return waitForRemovalSeen(reader_, seenPresent_, timeout_);
}

void BenchCard::remove() {
  if (!takeOut()) throw std::runtime_error("pcscd did not see the card leave " + reader_);
}

void BenchCard::insert() { putIn("pcscd did not see the card enter "); }

bool BenchCard::replaceWhileInserted(Profile profile) {
  const auto state = readerState(reader_);
  if (!(state & SCARD_STATE_PRESENT) || (state & SCARD_STATE_MUTE)) return false;
  return card_->replaceWhileInserted(std::move(profile));
}

std::vector<Bytes> BenchCard::apduCommands() const {
  std::vector<Bytes> commands;
  for (const auto& exchange : card_->apduLog()) commands.push_back(exchange.command);
  return commands;
}

BenchCard& CardBenchTest::startCard(int slot, const Profile& profile) {
  if (slot != 0 && slot != 1) throw std::invalid_argument("vpcd slot must be 0 or 1");
  cards_[slot].reset();
  auto& waiting = parked().slots[slot];
  if (waiting && waiting->replaceWhileInserted(profile)) {
    cards_[slot] = std::move(waiting);
    cards_[slot]->waitUntilNoOtherConnection();
  } else {
    waiting.reset();
    cards_[slot] = std::make_unique<BenchCard>(slot, profile);
  }
  return *cards_[slot];
}

void CardBenchTest::TearDown() {
  // The next test, in this process or the next, starts with its slot's card held by no connection.
  endOwnConnections();
  for (std::size_t slot = 0; slot < cards_.size(); ++slot)
    if (cards_[slot]) parked().slots[slot] = std::move(cards_[slot]);
}

}  // namespace rvp::cardbench
