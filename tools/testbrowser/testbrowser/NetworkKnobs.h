// How the test browser's network behaves, set by the page (<network ...> in the page description, or
// testbrowser.network(name, value) from a script):
//
//   chunk="N"           at most N bytes per NPP_Write (0: as many as NPP_WriteReady allows)
//   unknownlength="yes" streams announce no length (NPStream.end 0)
//   seekable="no"       no stream is offered as seekable
//   failafter="N"       a stream breaks (network error) after N bytes of its body (-1: never)
//   refuse="TEXT"       requests whose address contains TEXT are refused at once ("": none)
//   order="notifyfirst" NPP_URLNotify comes before NPP_DestroyStream ("destroyfirst", the default, after)
//   timeout="MS"        an HTTP request that has not ended after MS milliseconds is a network error
//                       (default 10000: a server that stops answering never holds the page up for good)
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace testbrowser {

struct NetworkKnobs {
  uint32_t chunk = 0;
  bool unknownLength = false;
  bool seekable = true;
  int64_t failAfter = -1;
  std::string refuse;
  bool notifyFirst = false;
  int64_t timeoutMs = 10000;
};

class NetworkKnobError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws NetworkKnobError for an unknown name or a value that does not fit it.
void setNetworkKnob(NetworkKnobs& knobs, const std::string& name, const std::string& value);

}  // namespace testbrowser
