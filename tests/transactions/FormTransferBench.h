// A controller on a virtual card, fed the enciphered parameter blocks the bank's server makes for one
// form-driven transfer.
#pragma once

#include <array>
#include <string>

#include "TransactionBench.h"
#include "tools/banktool/TransferBlocks.h"

namespace txbench {

// The terminal values the blocks carry (block 3).
constexpr const char* kAgent = "00000001";

class FormTransferTest : public TransactionTest {
 protected:
  // As connect, but a card of the same profile already in the reader stays there (no pull-out and
  // re-insertion between the cases of a table); only for cases that arm no fault.
  BenchCard& useCard(const CardFacts& facts);
  // The blocks of a transfer by the card of these facts, logged in with that very card.
  banktool::TransferCase transferCase(const CardFacts& facts, const std::string& kind) const;
  void setBlocks(const std::array<std::string, 9>& blocks);
  void setBlocks(const banktool::TransferCase& c) { setBlocks(banktool::makeTransferBlocks(c)); }
  // Card and reader were let go: the old handle answers no more.
  bool cardAndReaderClosed();
  // The card received nothing at all since the log was cleared.
  bool noCardCommand() const;

 private:
  const CardFacts* cardInReader_ = nullptr;
};

}  // namespace txbench
