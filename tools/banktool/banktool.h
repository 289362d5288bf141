// The bank server's side of the plug-in's messages, with the development keys: opens request envelopes
// and challenge answers, and makes server challenges and enciphered page parameters for tests.
#ifndef RVP_TOOLS_BANKTOOL_H
#define RVP_TOOLS_BANKTOOL_H

#include <string>

namespace banktool {

// The server's private key (PEM) of the development key set; empty when it cannot be read.
std::string devPrivateKeyPem();
// Reads a whole file; empty when it cannot be read.
std::string readFile(const std::string& path);

struct OpenedEnvelope {
  bool ok = false;            // the envelope could be opened (session number and body deciphered)
  std::string error;          // why not, when !ok
  std::string sessionNumber;  // the 16-character session key
  std::string rawText;        // the request as sealed (Big5 when it held Chinese text)
  std::string text;           // the request in UTF-8
  std::string mac;            // the MAC text that followed the request (28 base64 characters + "\n")
  bool macOk = false;         // mac equals the request MAC computed here
};

// Opens a TrnsMsg: RSA-decrypts the session number, deciphers the body, checks the MAC.
OpenedEnvelope openEnvelope(const std::string& trnsMsg, const std::string& privateKeyPem = devPrivateKeyPem());

// Deciphers the "%"-ended RSA pieces of a sealed text and joins them; ok false on any failure.
bool unsealRsaPieces(const std::string& sealed, const std::string& privateKeyPem, std::string& clear,
                     std::string& error);

struct ChallengeAnswer {
  bool ok = false;
  std::string error;
  std::string clear;        // the whole deciphered answer
  std::string mac;          // 28 base64 characters + "\n"
  std::string token;        // component token (8 characters)
  std::string clientFlag;   // "T"
  std::string installPath;  // 48 characters
  bool macOk = false;       // mac matches the challenge given to decodeChallengeAnswer
};

// Opens the answer the plug-in left for a challenge whose clear text is clearChallenge.
ChallengeAnswer decodeChallengeAnswer(const std::string& answer, const std::string& clearChallenge,
                                      const std::string& privateKeyPem = devPrivateKeyPem());

// A server challenge: the clear text under the DES key (IV "00000000", padded) as one base64 line.
std::string makeChallenge(const std::string& clearChallenge);

// Block bh_d5 carrying an 8-byte IV (upper-case hex).
std::string makeIvBlock(const unsigned char iv[8]);
// A parameter block carrying text under the page-parameter key and that IV (upper-case hex). UTF-8 text
// holding anything but printable ASCII is sent in Big5, as the bank's pages do.
std::string makeParamBlock(const std::string& text, const unsigned char iv[8]);
// Exact clear bytes (whole 8-byte blocks, no padding added) under the page-parameter key: for blocks with
// a padding of one's own choosing. Empty when the bytes are not whole blocks.
std::string makeRawParamBlock(const std::string& clearBlocks, const unsigned char iv[8]);
// Reads a text the plug-in hands back to the page enciphered like a parameter block (ReturnASN,
// ReturnTxFlag): upper- or lower-case hex under the page-parameter key and the call's IV. Empty with
// ok false when it is no such text.
struct OpenedPageText {
  bool ok = false;
  std::string text;
};
OpenedPageText openPageText(const std::string& hex, const unsigned char iv[8]);

}  // namespace banktool

#endif
