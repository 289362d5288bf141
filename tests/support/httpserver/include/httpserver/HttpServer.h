#pragma once
// A loopback HTTP/1.1 server for tests: listens on 127.0.0.1 at a free port, on a thread of its own, and
// answers one request per connection (then closes it):
//
//   GET  /PATH                 the file PATH of the folder; "Range: bytes=A-B" gives 206 with that part;
//                              "Accept-Ranges: bytes" and Content-Length always
//   GET  /chunked/PATH         the same file as a chunked body (no length, no ranges)
//   GET  /noranges/PATH        the same file without ranges (Range ignored, no Accept-Ranges)
//   GET  /drop/N/PATH          the whole file's Content-Length, then only N bytes, then the connection drops
//   GET  /hang/N/PATH          the same, but the connection then stays open, silent, until the client leaves
//   GET  /stall/PATH           no answer at all; the connection stays open until the client leaves
//   POST /echo                 200 with the request body; X-Echo-Content-Type is the request's Content-Type
//   anything else              404
#include <atomic>
#include <future>
#include <string>
#include <thread>

namespace rvp::httpserver {

class HttpServer {
 public:
  explicit HttpServer(std::string folder);
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  unsigned short port() const { return port_; }
  // "http://127.0.0.1:PORT" followed by path (which starts with "/").
  std::string url(const std::string& path) const;
  // Requests answered so far.
  int requests() const { return requests_.load(); }

 private:
  void serve(std::promise<void>& listening);

  std::string folder_;
  std::atomic<unsigned short> port_{0};
  std::atomic<bool> stopping_{false};
  std::atomic<int> requests_{0};
  std::thread thread_;
};

}  // namespace rvp::httpserver
