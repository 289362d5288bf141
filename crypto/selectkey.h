// Built-in key material. Each key is kept as pieces and joined only when needed.
#ifndef RVP_CRYPTO_SELECTKEY_H
#define RVP_CRYPTO_SELECTKEY_H

#include <string>

// Request MAC key, challenge-response key, page-parameter key and server-challenge/IV-block key:
// three 8-character base64 pieces each. Server RSA-1024 public key: 76 + 76 + 64 base64 characters.
extern const std::string MACI, MACII, MACIII;
extern const std::string CRI, CRII, CRIII;
extern const std::string BHOI, BHOII, BHOIII;
extern const std::string DESI, DESII, DESIII;
extern const std::string RSAI, RSAII, RSAIII;

// The three pieces of a key joined, followed by "\n" (ready for base64Decode).
std::string readMACKey();
std::string readCRKey();
std::string readDESKey();

// The same pieces without a line feed (for the one-block decoder).
std::string joinedBHOKey();
std::string joinedDESKey();

// PEM text of the server public key: BEGIN line, the three pieces and the END line, each line but the
// last ended by "\r\n".
std::string readRSAKey();

#endif
