// One run of the page-parameter parsers on hostile input: the enciphered blocks a bank page hands over,
// their field cuts, the "#" lists and the account-book entry texts. Used by libFuzzer (RVP_FUZZ=ON) and
// by the corpus replay test. A fault shows as a sanitizer report or an abort from the checks below.
//
// Input: one mode byte, then pieces separated by 0x01. Piece N is block bh_dN. A piece starting with '!'
// is handed over as the page text itself (junk hex, "null", a bad IV); any other piece is enciphered
// first so that its clear text reaches the field parsers. An empty piece 5 takes a good IV.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "controller/ResultCodes.h"
#include "controller/transactions/FormParameters.h"
#include "controller/transactions/TransactionCodes.h"
#include "crypto/ParseEncParam.h"
#include "dialogs/AccountBookEntry.h"
#include "tools/banktool/banktool.h"

namespace {
const unsigned char kPageIv[8] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};

void require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "page parameter fuzz: %s\n", what);
  std::abort();
}

std::vector<std::string> pieces(const std::string& text) {
  std::vector<std::string> out(1);
  for (char c : text) {
    if (c == '\x01')
      out.emplace_back();
    else
      out.back() += c;
  }
  out.resize(11);
  return out;
}

std::string pageText(const std::string& piece, int number) {
  if (!piece.empty() && piece[0] == '!') return piece.substr(1);
  if (number == 5) return banktool::makeIvBlock(kPageIv);
  CParseEncParam p;
  return piece.empty() ? std::string() : p.SetStringToEncData(piece, kPageIv);
}

// The field cuts documented to throw on short blocks may throw only that.
template <typename Cut>
void cutOrShort(Cut cut) {
  try {
    cut();
  } catch (const std::out_of_range&) {
  }
}

void parseFields(const std::vector<std::string>& clear) {
  CParseEncParam p;
  p.Parse_BH_D0(clear[0]);
  cutOrShort([&] { p.Parse_BH_D1(clear[1]); });
  p.Parse_BH_D2(clear[2]);
  cutOrShort([&] { p.Parse_BH_D3(clear[3]); });
  p.Parse_BH_D4(clear[4]);
  p.Parse_BH_D6(clear[6]);
  p.Parse_BH_D7(clear[7]);
  p.Parse_BH_D8(clear[8]);
  p.Parse_BH_D9(clear[9]);
  p.Parse_BH_D10(clear[10]);
  for (const auto* list : {&p.D0List, &p.D6AgreeAccounts, &p.D7CommonAccounts, &p.D9BookEntries})
    for (const std::string& entry : *list) require(entry.find('#') == std::string::npos, "a list entry kept its '#'");
  numberValue(p.D10CountLimit);
  numberValue(p.D8AgSelfAmt);

  for (const std::string& text : p.D9BookEntries) {
    const AccountBookEntry entry = readAccountBookEntry(text);
    require(entry.bank.size() <= 3, "a bank code longer than 3");
    entry.shownComment();
    entry.shownEmail();
  }
  const std::string xml = accountBookXml(p.D9BookEntries);
  require(xml.rfind("</Vennoral>") == xml.size() - 11, "the account book XML is not closed");
  std::vector<std::string> split;
  p.SplitString(clear[9], clear[10], split);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool limitsMayBeAbsent = data[0] & 1;
  const std::vector<std::string> piece = pieces(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));

  FormParameterBlocks blocks;
  std::vector<std::string> page(11);
  for (int n = 0; n < 11; ++n) page[n] = pageText(piece[n], n);
  for (int n = 0; n < 9; ++n) blocks[n] = page[n];

  FormParameters form;
  const long code = openFormParameters(blocks, form, limitsMayBeAbsent);
  require(code == rc::kOk || code == rc::kParameterUnparsable ||
              (code >= rc::kParameterEmptyBase && code <= rc::kParameterEmptyBase + 8),
          "openFormParameters gave a code outside its set");

  // Every block opened by itself, as the account-book calls open bh_d0, bh_d9 and bh_d10.
  CParseEncParam p;
  unsigned char iv[8];
  const int ivResult = p.GetParam_IV(page[5], iv);
  require(ivResult == 0 || ivResult == -1, "GetParam_IV gave a code outside 0 and -1");
  std::vector<std::string> clear(11);
  for (int n = 0; n < 11; ++n) {
    clear[n] = p.GetStringFromEncData(page[n], iv);
    require(clear[n].find('\0') == std::string::npos, "an opened block holds a NUL");
  }
  parseFields(clear);
  return 0;
}
