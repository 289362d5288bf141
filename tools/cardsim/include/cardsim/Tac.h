#pragma once
// The transaction authentication code the card returns for each logged write.
#include <string>

#include "cardsim/Bytes.h"

namespace rvp::cardsim {

// 8-byte TAC: two-key triple-DES CBC-MAC (zero IV) over serial || record, padded with 80 00 .. to
// a multiple of 8 bytes; the TAC is the last cipher block. `key` is 16 bytes, `serial` the 8
// characters of the transaction serial number. Throws std::runtime_error if the cipher fails.
Bytes computeTac(const Bytes& key, const Bytes& serial, const Bytes& record);

}  // namespace rvp::cardsim
