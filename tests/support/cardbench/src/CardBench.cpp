#include "cardbench/CardBench.h"

#include <stdexcept>

namespace rvp::cardbench {

Profile loadProfile(const std::string& nameOrPath) {
  if (nameOrPath.find('/') != std::string::npos) return Profile::load(nameOrPath);
  return Profile::load(std::string(RVP_CARDSIM_PROFILE_DIR) + "/" + nameOrPath + ".profile");
}

Profile parseProfile(const std::string& text) { return Profile::parse(text, "profile text"); }

BenchCard::BenchCard(int slot, Profile profile, std::chrono::milliseconds timeout)
    : slot_(slot), reader_(cardbench::readerName(slot)), timeout_(timeout) {
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

std::vector<Bytes> BenchCard::apduCommands() const {
  std::vector<Bytes> commands;
  for (const auto& exchange : card_->apduLog()) commands.push_back(exchange.command);
  return commands;
}

BenchCard& CardBenchTest::startCard(int slot, const Profile& profile) {
  if (slot != 0 && slot != 1) throw std::invalid_argument("vpcd slot must be 0 or 1");
  cards_[slot].reset();
  cards_[slot] = std::make_unique<BenchCard>(slot, profile);
  return *cards_[slot];
}

void CardBenchTest::TearDown() {
  for (auto& card : cards_) card.reset();
}

}  // namespace rvp::cardbench
