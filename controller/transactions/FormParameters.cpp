#include "FormParameters.h"

#include "ResultCodes.h"
#include "card/TextHelpers.h"

namespace {
// A list or limit block the page did not send: the word "null" in any letter case.
bool absent(const std::string& block) { return compareNoCase(block, "null") == 0; }
}  // namespace

long openFormParameters(const FormParameterBlocks& blocks, FormParameters& out, bool limitsMayBeAbsent) {
  CParseEncParam& p = out.fields;
  // Under a zero IV only the first eight characters of each block would come out wrong, and a block of
  // several cipher blocks would still open: an unreadable IV block is refused outright.
  if (p.GetParam_IV(blocks[5], out.iv) != 0) return rc::kParameterEmptyBase + 5;

  std::array<std::string, 9> clear;
  auto open = [&](std::size_t n) {
    clear[n] = p.GetStringFromEncData(blocks[n], out.iv);
    return !clear[n].empty();
  };
  if (!blocks[0].empty() && !open(0)) return rc::kParameterEmptyBase + 0;
  for (std::size_t n : {1, 2, 3, 4})
    if (!open(n)) return rc::kParameterEmptyBase + static_cast<long>(n);
  for (std::size_t n : {6, 7, 8}) {
    const bool mayBeAbsent = n != 8 || limitsMayBeAbsent;
    if (!(mayBeAbsent && absent(blocks[n])) && !open(n)) return rc::kParameterEmptyBase + static_cast<long>(n);
  }

  try {
    if (!clear[0].empty()) p.Parse_BH_D0(clear[0]);
    p.Parse_BH_D1(clear[1]);
    p.Parse_BH_D2(clear[2]);
    p.Parse_BH_D3(clear[3]);
    p.Parse_BH_D4(clear[4]);
    if (!clear[6].empty()) p.Parse_BH_D6(clear[6]);
    if (!clear[7].empty()) p.Parse_BH_D7(clear[7]);
    if (!clear[8].empty()) p.Parse_BH_D8(clear[8]);
  } catch (const std::exception&) {
    return rc::kParameterUnparsable;
  }
  out.bankChanges = !clear[0].empty();
  return rc::kOk;
}
