#include "crypto/selectkey.h"

#include RVP_KEY_FILE_INCLUDE

// Initialised in this order: MAC, CR, BHO, DES, then the public key pieces.
const std::string MACI = RVP_KEY_MACI, MACII = RVP_KEY_MACII, MACIII = RVP_KEY_MACIII;
const std::string CRI = RVP_KEY_CRI, CRII = RVP_KEY_CRII, CRIII = RVP_KEY_CRIII;
const std::string BHOI = RVP_KEY_BHOI, BHOII = RVP_KEY_BHOII, BHOIII = RVP_KEY_BHOIII;
const std::string DESI = RVP_KEY_DESI, DESII = RVP_KEY_DESII, DESIII = RVP_KEY_DESIII;
const std::string RSAI = RVP_KEY_RSAI, RSAII = RVP_KEY_RSAII, RSAIII = RVP_KEY_RSAIII;

std::string readMACKey() { return MACI + MACII + MACIII + "\n"; }
std::string readCRKey() { return CRI + CRII + CRIII + "\n"; }
std::string readDESKey() { return joinedDESKey() + "\n"; }
std::string joinedBHOKey() { return BHOI + BHOII + BHOIII; }
std::string joinedDESKey() { return DESI + DESII + DESIII; }

std::string readRSAKey() {
  return "-----BEGIN PUBLIC KEY-----\r\n" + RSAI + "\r\n" + RSAII + "\r\n" + RSAIII + "\r\n" +
         "-----END PUBLIC KEY-----";
}
