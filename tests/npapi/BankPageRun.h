// Running a bank page in the test browser against the built plug-in: the page, the transfer blocks the
// bank's server would hand it, and the values the page prints. Used by the page tests of the form-driven
// operations (each target defines TESTBROWSER_PROGRAM, PAGED_PLUGIN_LIBRARY and GENERATED_PAGES_DIR).
#pragma once

#include <array>
#include <fstream>
#include <string>

#include "programrun/ProgramRun.h"
#include "tools/banktool/TransferBlocks.h"

namespace bankpage {

// Runs `script` on a page of the bank's origin with the plug-in embedded as `plugin`; the page ends by
// logging "<name> done".
inline rvp::programrun::RunResult run(const std::string& name, const std::string& script) {
  const std::string path = std::string(GENERATED_PAGES_DIR) + "/" + name + ".html";
  std::ofstream(path) << "<page location=\"https://webatm.postbank.example/atm/transfer.html\">\n"
                      << "<embed id=\"plugin\" type=\"application/roda-vennoral-plugin\">\n<script>\n"
                      << script << "\nconsole.log(\"" << name << " done\");\n</script>\n";
  return rvp::programrun::run(std::string(TESTBROWSER_PROGRAM) + " --plugin " + PAGED_PLUGIN_LIBRARY + " " + path);
}

// Page lines that set bh_d0 .. bh_d8.
inline std::string setBlocks(const banktool::TransferCase& c) {
  const std::array<std::string, 9> blocks = banktool::makeTransferBlocks(c);
  std::string js;
  for (std::size_t n = 0; n < blocks.size(); ++n)
    js += "plugin.bh_d" + std::to_string(n) + " = \"" + blocks[n] + "\";\n";
  return js;
}

// The value of a line "NAME <value>" the page printed ("|" for its line breaks), or "" when there is none.
inline std::string printed(const std::string& output, const std::string& name) {
  const std::size_t at = output.find(name + " ");
  if (at == std::string::npos) return std::string();
  std::string value = output.substr(at + name.size() + 1, output.find('\n', at) - at - name.size() - 1);
  for (char& c : value)
    if (c == '|') c = '\n';
  return value;
}

// A postal-to-bank transfer from the postal card's login session (the reader name left to the test).
inline banktool::TransferCase postalTransfer() {
  banktool::TransferCase c;
  c.readerType = "3";  // the PIN is typed on the form and checked by the card at the write
  c.loginIssuerId = "70000019";
  c.loginIssuerAccount = "7001234567890123";
  c.sessionId = "SESSION000000001";
  c.terminalId = "TERM0001";
  c.checkCode = "CHK00001";
  c.agentNo = "00000001";
  c.dateTime = "20261210131500";
  c.kind = "0307";
  c.limits = "50000$30000";
  return c;
}

}  // namespace bankpage
