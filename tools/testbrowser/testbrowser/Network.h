// The test browser's network: streams for the plug-in's URL requests and posts, and for an embed's src.
//
// Addresses: "file:///PATH" and addresses without a scheme (relative to the page description's folder) are
// read from disk; "http://127.0.0.1:PORT/..." (or localhost) goes to a real server through the HTTP client.
// Anything else is refused. Delivery runs on the browser's loop, one NPP call per turn, as a browser's
// does: NPP_NewStream (headers, length, seekable flag), NPP_WriteReady / NPP_Write in chunks (or, for a
// seekable stream the plug-in chose to read by ranges, the ranges it asks for with NPN_RequestRead),
// NPP_StreamAsFile for file delivery, then NPP_DestroyStream and NPP_URLNotify in the order the knobs say.
// Before an instance is destroyed its unfinished streams end (NPRES_USER_BREAK); no stream call reaches an
// instance after NPP_Destroy. At the end the ledger checks that every stream the plug-in opened was
// destroyed and every notification sent.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "npapi/NPAPI.h"
#include "testbrowser/NetworkKnobs.h"

namespace testbrowser {

class Browser;

class Network {
 public:
  explicit Network(Browser& browser);
  ~Network();

  NetworkKnobs& knobs() { return knobs_; }

  // NPN_GetURL(Notify) and NPN_PostURL(Notify). A request with a target is navigation: noted, no stream.
  NPError request(NPP npp, const char* url, const char* target, const char* method, const char* buf, uint32_t len,
                  NPBool file, bool notify, void* notifyData);
  NPError requestRead(NPStream* stream, NPByteRange* ranges);
  // The plug-in ends a stream (NPN_DestroyStream); the browser's NPP_DestroyStream follows on the loop.
  NPError destroyStream(NPP npp, NPStream* stream, NPReason reason);
  // The stream of an embed's src, offered without being asked for.
  void offer(NPP npp, const std::string& src);

  // One NPP call of the earliest stream with something to do; 0 when none has.
  size_t step();
  // The instance is about to be destroyed: its unfinished streams end now.
  void endStreams(NPP npp);
  // At the end: streams left undestroyed or unnotified are faults; returns the summary line.
  std::string ledger();

 private:
  struct Flow;
  Flow* flowOf(const NPStream* stream);
  void fetch(Flow& flow);
  void open(Flow& flow);
  void deliver(Flow& flow);
  void asFile(Flow& flow);
  void end(Flow& flow);
  void destroyInPlugin(Flow& flow);
  void notifyPlugin(Flow& flow);
  void finish(Flow& flow, NPReason reason);
  std::string resolve(const std::string& url, bool& isFile) const;
  // Where the flow's address leads: a file, or the loopback server; false for anything else.
  bool locate(Flow& flow, const std::string& address) const;
  std::chrono::milliseconds timeout() const { return std::chrono::milliseconds(knobs_.timeoutMs); }

  Browser& browser_;
  NetworkKnobs knobs_;
  std::vector<std::unique_ptr<Flow>> flows_;
  uint64_t nextId_ = 1;
};

}  // namespace testbrowser
