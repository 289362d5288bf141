// banktool: the bank server's side of the plug-in's messages, for development and tests.
#include <array>
#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/banktool/TransferBlocks.h"
#include "tools/banktool/banktool.h"

namespace {

const char kUsage[] =
    "usage:\n"
    "  banktool open [--key PEM] [FILE]                 open a TrnsMsg envelope (stdin without FILE)\n"
    "  banktool answer [--key PEM] [--challenge TEXT] [FILE]\n"
    "                                                   open a challenge answer\n"
    "  banktool challenge TEXT                          make a server challenge (the answer's MAC covers\n"
    "                                                   only TEXT's first 10 bytes: make them fresh)\n"
    "  banktool iv IVHEX                                make block bh_d5 for an 8-byte IV (16 hex digits)\n"
    "  banktool param IVHEX TEXT                        make a parameter block carrying TEXT\n"
    "  banktool transfer NAME=VALUE...                  make the blocks bh_d0 .. bh_d8 of a form-driven\n"
    "                                                   transfer, one \"bh_dN HEX\" line each (names: iv,\n"
    "                                                   reader-type, issuer-id, issuer-account, reader,\n"
    "                                                   session, terminal, check-code, agent, time, giro,\n"
    "                                                   kind, bank-changes, agreed, common, limits)\n";

int usage() {
  std::cerr << kUsage;
  return 2;
}

struct Options {
  std::string keyPem;
  std::string challenge;
  std::vector<std::string> rest;
  bool ok = true;
};

Options parse(int argc, char** argv) {
  Options o;
  for (int i = 2; i < argc; ++i) {
    std::string a = argv[i];
    if ((a == "--key" || a == "--challenge") && i + 1 < argc) {
      std::string v = argv[++i];
      if (a == "--key") {
        o.keyPem = banktool::readFile(v);
        if (o.keyPem.empty()) std::cerr << "banktool: cannot read key file " << v << "\n", o.ok = false;
      } else {
        o.challenge = v;
      }
    } else {
      o.rest.push_back(a);
    }
  }
  if (o.ok && o.keyPem.empty()) o.keyPem = banktool::devPrivateKeyPem();
  return o;
}

std::string input(const Options& o) {
  if (o.rest.empty() || o.rest[0] == "-")
    return std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  return banktool::readFile(o.rest[0]);
}

bool ivFromHex(const std::string& hex, unsigned char iv[8]) {
  if (hex.size() != 16 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return false;
  for (std::size_t i = 0; i < 8; ++i) iv[i] = static_cast<unsigned char>(std::stoul(hex.substr(2 * i, 2), nullptr, 16));
  return true;
}

int openCommand(const Options& o) {
  banktool::OpenedEnvelope env = banktool::openEnvelope(input(o), o.keyPem);
  if (!env.ok) return std::cerr << "banktool: " << env.error << "\n", 2;
  std::cout << "session: " << env.sessionNumber << "\n"
            << "mac: " << (env.macOk ? "ok" : "BAD") << "\n"
            << env.text << "\n";
  return env.macOk ? 0 : 1;
}

int answerCommand(const Options& o) {
  banktool::ChallengeAnswer a = banktool::decodeChallengeAnswer(input(o), o.challenge, o.keyPem);
  if (!a.ok) return std::cerr << "banktool: " << a.error << "\n", 2;
  std::cout << "mac: " << a.mac.substr(0, 28)
            << (o.challenge.empty() ? ""
                : a.macOk           ? " (ok)"
                                    : " (BAD)")
            << "\n"
            << "token: " << a.token << "\n"
            << "flag: " << a.clientFlag << "\n"
            << "path: " << a.installPath << "\n";
  return o.challenge.empty() || a.macOk ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  std::string command = argv[1];
  Options o = parse(argc, argv);
  if (!o.ok) return 2;
  if (command == "open") return openCommand(o);
  if (command == "answer") return answerCommand(o);
  if (command == "challenge" && o.rest.size() == 1) {
    std::cout << banktool::makeChallenge(o.rest[0]) << "\n";
    return 0;
  }
  if (command == "transfer") {
    banktool::TransferCase c;
    for (const std::string& assignment : o.rest)
      if (!banktool::setTransferCaseField(c, assignment))
        return std::cerr << "banktool: cannot use " << assignment << "\n", 2;
    const std::array<std::string, 9> blocks = banktool::makeTransferBlocks(c);
    for (std::size_t n = 0; n < blocks.size(); ++n) std::cout << "bh_d" << n << " " << blocks[n] << "\n";
    return 0;
  }
  unsigned char iv[8];
  if (command == "iv" && o.rest.size() == 1 && ivFromHex(o.rest[0], iv)) {
    std::cout << banktool::makeIvBlock(iv) << "\n";
    return 0;
  }
  if (command == "param" && o.rest.size() == 2 && ivFromHex(o.rest[0], iv)) {
    std::cout << banktool::makeParamBlock(o.rest[1], iv) << "\n";
    return 0;
  }
  return usage();
}
