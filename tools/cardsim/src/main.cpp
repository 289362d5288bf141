// cardsim: puts a virtual card with the given profile into a vpcd slot and serves it until
// interrupted (Ctrl-C or SIGTERM), printing each APDU when asked to.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "cardsim/VirtualCard.h"

namespace {

void usage() {
  std::cerr << "usage: cardsim [--slot 0|1 | --port N] [--verbose] PROFILE\n"
               "  Serves a virtual card to vpcd on 127.0.0.1 (slot 0 by default; the slot ports come\n"
               "  from RVP_VPCD_PORT0/RVP_VPCD_PORT1, else 35963/35964) until interrupted.\n";
}

const char* outcomeText(rvp::cardsim::ApduExchange::Outcome outcome) {
  using Outcome = rvp::cardsim::ApduExchange::Outcome;
  switch (outcome) {
    case Outcome::Answered:
      return "";
    case Outcome::Injected:
      return " (injected)";
    case Outcome::Dropped:
      return " (dropped)";
    case Outcome::Unanswered:
      return " (unanswered)";
  }
  return "";
}

}  // namespace

int main(int argc, char** argv) {
  using namespace rvp::cardsim;
  int slot = 0;
  long port = -1;
  bool verbose = false;
  std::string profilePath;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--slot" && i + 1 < argc) {
      slot = std::atoi(argv[++i]);
    } else if (arg == "--port" && i + 1 < argc) {
      port = std::strtol(argv[++i], nullptr, 10);
    } else if (arg == "--verbose" || arg == "-v") {
      verbose = true;
    } else if (arg == "--help" || arg == "-h") {
      usage();
      return 0;
    } else if (profilePath.empty() && arg.rfind("-", 0) != 0) {
      profilePath = arg;
    } else {
      usage();
      return 2;
    }
  }
  if (profilePath.empty() || (slot != 0 && slot != 1) || port == 0 || port > 65535) {
    usage();
    return 2;
  }

  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);  // before the card's thread starts

  try {
    Profile profile = Profile::load(profilePath);
    std::uint16_t vpcdPort = port > 0 ? static_cast<std::uint16_t>(port) : VirtualCard::portOfSlot(slot);
    VirtualCard card(std::move(profile), vpcdPort);
    if (verbose) {
      card.onExchange([](const ApduExchange& e) {
        std::printf("> %s\n< %s%s\n", toHex(e.command, true).c_str(), toHex(e.response, true).c_str(),
                    outcomeText(e.outcome));
        std::fflush(stdout);
      });
    }
    std::printf("cardsim: card from %s on 127.0.0.1:%u\n", profilePath.c_str(), vpcdPort);
    std::fflush(stdout);
    int received = 0;
    sigwait(&signals, &received);
  } catch (const std::exception& e) {
    std::cerr << "cardsim: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
