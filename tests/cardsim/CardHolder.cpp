// Another process holding a card: connects exclusively to the reader named first, writes "held" on
// its standard output, keeps the connection for the given milliseconds (or until killed with
// "forever"), then exits without disconnecting, as a process that ends still connected does.
#include <winscard.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s READER MILLISECONDS|forever\n", argv[0]);
    return 2;
  }
  SCARDCONTEXT context = 0;
  SCARDHANDLE card = 0;
  DWORD protocol = 0;
  LONG rv = SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &context);
  if (rv == SCARD_S_SUCCESS)
    rv = SCardConnect(context, argv[1], SCARD_SHARE_EXCLUSIVE, SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1, &card, &protocol);
  if (rv != SCARD_S_SUCCESS) {
    std::printf("failed %lx\n", static_cast<unsigned long>(rv));
    return 1;
  }
  std::printf("held\n");
  std::fflush(stdout);
  if (std::string(argv[2]) == "forever")
    for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
  std::this_thread::sleep_for(std::chrono::milliseconds(std::stol(argv[2])));
  return 0;  // still connected: pcscd ends the connection once it notices the process gone
}
