#include "cardbench/OwnConnections.h"

#include <winscard.h>

#include <map>
#include <mutex>
#include <set>
#include <vector>

extern "C" {
LONG __real_SCardEstablishContext(DWORD scope, LPCVOID reserved1, LPCVOID reserved2, LPSCARDCONTEXT context);
LONG __real_SCardReleaseContext(SCARDCONTEXT context);
LONG __real_SCardConnect(SCARDCONTEXT context, LPCSTR reader, DWORD shareMode, DWORD protocols, LPSCARDHANDLE card,
                         LPDWORD activeProtocol);
LONG __real_SCardDisconnect(SCARDHANDLE card, DWORD disposition);
}

namespace rvp::cardbench {
namespace {

struct Connection {
  SCARDCONTEXT context;
  std::string reader;
};

struct Registry {
  std::mutex mutex;
  std::set<SCARDCONTEXT> contexts;
  std::map<SCARDHANDLE, Connection> connections;

  void forgetContext(SCARDCONTEXT context) {
    contexts.erase(context);
    for (auto it = connections.begin(); it != connections.end();)
      it = it->second.context == context ? connections.erase(it) : std::next(it);
  }
};

// Never destroyed: the parked cards end what is left at exit, after other statics may be gone.
Registry& registry() {
  static Registry* const instance = new Registry;
  return *instance;
}

}  // namespace

bool holdsConnectionTo(const std::string& reader) {
  Registry& r = registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  for (const auto& [handle, connection] : r.connections)
    if (connection.reader == reader) return true;
  return false;
}

void endOwnConnections() {
  Registry& r = registry();
  std::vector<SCARDCONTEXT> open;
  {
    std::lock_guard<std::mutex> lock(r.mutex);
    open.assign(r.contexts.begin(), r.contexts.end());
    r.contexts.clear();
    r.connections.clear();
  }
  for (SCARDCONTEXT context : open) __real_SCardReleaseContext(context);
}

}  // namespace rvp::cardbench

using rvp::cardbench::registry;

extern "C" {

LONG __wrap_SCardEstablishContext(DWORD scope, LPCVOID reserved1, LPCVOID reserved2, LPSCARDCONTEXT context) {
  const LONG rv = __real_SCardEstablishContext(scope, reserved1, reserved2, context);
  if (rv == SCARD_S_SUCCESS && context != nullptr) {
    std::lock_guard<std::mutex> lock(registry().mutex);
    registry().contexts.insert(*context);
  }
  return rv;
}

LONG __wrap_SCardReleaseContext(SCARDCONTEXT context) {
  {
    std::lock_guard<std::mutex> lock(registry().mutex);
    registry().forgetContext(context);
  }
  return __real_SCardReleaseContext(context);
}

LONG __wrap_SCardConnect(SCARDCONTEXT context, LPCSTR reader, DWORD shareMode, DWORD protocols, LPSCARDHANDLE card,
                         LPDWORD activeProtocol) {
  const LONG rv = __real_SCardConnect(context, reader, shareMode, protocols, card, activeProtocol);
  if (rv == SCARD_S_SUCCESS && card != nullptr && reader != nullptr) {
    std::lock_guard<std::mutex> lock(registry().mutex);
    registry().connections[*card] = {context, reader};
  }
  return rv;
}

LONG __wrap_SCardDisconnect(SCARDHANDLE card, DWORD disposition) {
  const LONG rv = __real_SCardDisconnect(card, disposition);
  // pcscd keeps a connection it refused to end (another thread inside a transaction, say).
  if (rv == SCARD_S_SUCCESS || rv == SCARD_E_INVALID_HANDLE) {
    std::lock_guard<std::mutex> lock(registry().mutex);
    registry().connections.erase(card);
  }
  return rv;
}
}
