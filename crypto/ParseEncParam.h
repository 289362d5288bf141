// Opens the page's enciphered parameter blocks bh_d0 .. bh_d10 and cuts them into the fields the
// transfer forms use; enciphers values handed back to the page in the same form.
#ifndef RVP_CRYPTO_PARSEENCPARAM_H
#define RVP_CRYPTO_PARSEENCPARAM_H

#include <string>
#include <vector>

class CParseEncParam {
 public:
  CParseEncParam() = default;
  virtual ~CParseEncParam() = default;

  std::vector<std::string> D0List;            // block 0 at "#": bank changes for the account book
  std::string D1ReaderType;                   // block 1, character 0
  std::string D1IssuerId;                     // block 1, characters 1-8
  std::string D1IssuerAccount;                // block 1, characters 9-24
  std::string D1ReaderName;                   // block 1 from character 25
  std::string D2SessionId;                    // block 2
  std::string D3TerminalId;                   // block 3, characters 0-7
  std::string D3CheckCode;                    // block 3, characters 8-15
  std::string D3AgentNo;                      // block 3, characters 16-23
  std::string D3TransDateTime;                // block 3, characters 24-37
  std::string D3CardAccount;                  // block 3, characters 38-45 when the block is longer than 38
  std::string D4PCode;                        // block 4: processing code
  std::vector<std::string> D6AgreeAccounts;   // block 6 at "#"
  std::vector<std::string> D7CommonAccounts;  // block 7 at "#"
  std::string D8AgSelfAmt;                    // block 8, first amount
  std::string D8NagSelfAmt;                   // block 8, second amount
  std::vector<std::string> D9BookEntries;     // block 9 at "#"
  std::string D10CountLimit;                  // block 10: limit on book entries

  // The IV of every other block, from block 5 (deciphered under the DES key). 0 when the IV was read;
  // -1 when the block is not hex of at least one whole cipher block (the IV is then eight zero bytes,
  // and the -1 lets a caller tell that IV from a real one).
  int GetParam_IV(const std::string& hexBlock5, unsigned char iv[8]);

  // The clear text of a block (UTF-8; Big5 blocks are converted), or empty when it cannot be opened.
  std::string GetStringFromEncData(const std::string& hexBlock, const unsigned char iv[8]);
  // Upper-case hex of the padded cipher text of any text.
  std::string SetStringToEncData(const std::string& clear, const unsigned char iv[8]);

  int Parse_BH_D0(const std::string& block);
  int Parse_BH_D1(const std::string& block);  // throws std::out_of_range below 25 characters
  int Parse_BH_D2(const std::string& block);
  int Parse_BH_D3(const std::string& block);  // throws std::out_of_range below 24 characters
  int Parse_BH_D4(const std::string& block);
  int Parse_BH_D6(const std::string& block);
  int Parse_BH_D7(const std::string& block);
  int Parse_BH_D8(const std::string& block);
  int Parse_BH_D9(const std::string& block);
  int Parse_BH_D10(const std::string& block);

  // Splits at sep: a leading separator and a trailing one add no piece; adjacent ones give an empty
  // piece. Returns the number of pieces; a null text gives an empty list.
  int SplitString_1(const char* text, char sep, std::vector<std::string>& list);
  // Appends the non-empty pieces around every occurrence of sep; returns the number of occurrences.
  // An empty separator finds nothing.
  int SplitString(const std::string& text, const std::string& sep, std::vector<std::string>& list);

  int Hex2Bin(const char* hex, int len, unsigned char* out);
  int Bin2Hex(const unsigned char* bytes, int count, char* out);
  int checkHexString(const char* text, int len);
};

#endif
