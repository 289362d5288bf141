// The page's enciphered parameter blocks of a form-driven transfer: opened under the block-5 IV and cut
// into the fields the forms and the confirmation use.
#pragma once

#include <array>
#include <string>

#include "crypto/ParseEncParam.h"

struct FormParameters {
  CParseEncParam fields;     // the cut fields (reader type, login card, terminal, kind, lists, limits)
  unsigned char iv[8] = {};  // the IV of this call's blocks, also for the texts handed back to the page
  bool bankChanges = false;  // bh_d0 carried bank-list changes
};

// The raw texts of bh_d0 .. bh_d8 as the page set them.
using FormParameterBlocks = std::array<std::string, 9>;

// 0 when every block opened and was cut; 9810 + N when block N is required (or given) and opens to
// nothing (9815: the IV block is not hex of a whole cipher block); 9821 when a block is too short for its cuts (the
// caller tells the customer). Blocks 6 and 7, and block 8 when `limitsMayBeAbsent`, may be "null" (any case) for none;
// an empty block 0 is none.
long openFormParameters(const FormParameterBlocks& blocks, FormParameters& out, bool limitsMayBeAbsent = true);
