// The test browser's HTTP client: one request per connection to a server on this machine (127.0.0.1 or
// localhost only), read to its end, to the point where the connection broke, or to the time limit.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace testbrowser {

struct HttpResponse {
  bool answered = false;  // a status line and headers arrived
  bool complete = false;  // and the whole body (false: the connection broke, or never answered)
  int status = 0;
  std::string headers;  // the raw header block: status line, "Name: value" lines, blank line
  std::string contentType;
  bool hasLength = false;
  uint64_t length = 0;  // Content-Length, when given
  bool acceptsRanges = false;
  std::string body;   // what arrived
  std::string error;  // why it is not complete
};

struct HttpAddress {
  std::string host;
  unsigned short port = 80;
  std::string target;  // path and query
};

// "http://HOST[:PORT]/..." with HOST 127.0.0.1 or localhost; false for anything else.
bool parseLoopbackUrl(const std::string& url, HttpAddress& out);

// Gives up (an incomplete response, with what arrived) once `timeout` has passed since the request began.
HttpResponse httpRequest(const HttpAddress& address, const std::string& method,
                         const std::vector<std::pair<std::string, std::string>>& headers, const std::string& body,
                         std::chrono::milliseconds timeout);

}  // namespace testbrowser
