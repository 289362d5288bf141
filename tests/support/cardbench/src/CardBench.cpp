#include "cardbench/CardBench.h"

#include <winscard.h>

#include <stdexcept>

namespace rvp::cardbench {

// Cards left in their slots by finished fixture tests. At exit they are just closed: the next
// process waits until pcscd reports the slot empty before it inserts a card.
struct ParkedCards {
  std::array<std::unique_ptr<BenchCard>, 2> slots;
  ~ParkedCards() {
    for (auto& card : slots)
      if (card) card->waitWhenDestroyed_ = false;
  }
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
  card_ = std::make_unique<cardsim::VirtualCard>(std::move(profile), cardsim::VirtualCard::portOfSlot(slot));
  if (!waitForPresence(reader_, CardPresence::Present, timeout_))
    throw std::runtime_error("pcscd did not see the virtual card in " + reader_);
}

BenchCard::~BenchCard() {
  card_->remove();
  if (!waitWhenDestroyed_) return;
  try {
    waitForPresence(reader_, CardPresence::Empty, timeout_);
  } catch (const std::exception&) {
    // pcscd gone: nothing holds the slot any more
  }
}

void BenchCard::remove() {
  card_->remove();
  if (!waitForPresence(reader_, CardPresence::Empty, timeout_))
    throw std::runtime_error("pcscd did not see the card leave " + reader_);
}

void BenchCard::insert() {
  card_->insert();
  if (!waitForPresence(reader_, CardPresence::Present, timeout_))
    throw std::runtime_error("pcscd did not see the card enter " + reader_);
}

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
  } else {
    waiting.reset();
    cards_[slot] = std::make_unique<BenchCard>(slot, profile);
  }
  return *cards_[slot];
}

void CardBenchTest::TearDown() {
  for (std::size_t slot = 0; slot < cards_.size(); ++slot)
    if (cards_[slot]) parked().slots[slot] = std::move(cards_[slot]);
}

}  // namespace rvp::cardbench
