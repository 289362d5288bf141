#include "httpserver/HttpServer.h"

#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include <poll.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <future>
#include <sstream>
#include <stdexcept>

namespace rvp::httpserver {

namespace asio = boost::asio;
namespace http = boost::beast::http;
using tcp = asio::ip::tcp;

namespace {

bool readFile(const std::string& path, std::string& out) {
  if (path.find("..") != std::string::npos) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream text;
  text << in.rdbuf();
  out = text.str();
  return true;
}

// "bytes=A-B" (B optional) within a body of `size` bytes; false when absent or unusable.
bool parseRange(const std::string& header, size_t size, size_t& first, size_t& last) {
  if (header.compare(0, 6, "bytes=") != 0) return false;
  std::string value = header.substr(6);
  size_t dash = value.find('-');
  if (dash == std::string::npos || dash == 0) return false;
  try {
    first = std::stoul(value.substr(0, dash));
    last = dash + 1 < value.size() ? std::stoul(value.substr(dash + 1)) : size - 1;
  } catch (const std::exception&) {
    return false;
  }
  if (last >= size) last = size - 1;
  return size > 0 && first <= last;
}

void writeAll(tcp::socket& socket, const std::string& bytes) {
  boost::system::error_code ec;
  asio::write(socket, asio::buffer(bytes), ec);
}

// A server that stops answering: the connection stays open, silent, until the client gives up (or the
// server stops).
void holdUntilClientLeaves(tcp::socket& socket, const std::atomic<bool>& stopping) {
  pollfd watch{socket.native_handle(), POLLIN, 0};
  char scratch[256];
  while (!stopping) {
    int ready = ::poll(&watch, 1, 20);
    if (ready < 0) return;
    if (ready == 0) continue;
    boost::system::error_code ec;
    socket.read_some(asio::buffer(scratch), ec);
    if (ec) return;
  }
}

// "/WORD/N/rest": N and "/rest"; false when the path is not of that form.
bool countedPrefix(const std::string& path, const std::string& word, size_t& n, std::string& rest) {
  const std::string prefix = "/" + word + "/";
  if (path.compare(0, prefix.size(), prefix) != 0) return false;
  size_t slash = path.find('/', prefix.size());
  if (slash == std::string::npos) return false;
  try {
    size_t used = 0;
    n = std::stoul(path.substr(prefix.size(), slash - prefix.size()), &used);
    if (used != slash - prefix.size()) return false;
  } catch (const std::exception&) {
    return false;
  }
  rest = path.substr(slash);
  return true;
}

void handle(tcp::socket& socket, const std::string& folder, const std::atomic<bool>& stopping) {
  boost::beast::flat_buffer buffer;
  http::request<http::string_body> req;
  boost::system::error_code ec;
  http::read(socket, buffer, req, ec);
  if (ec) return;
  const std::string target(req.target());
  http::response<http::string_body> res;
  res.version(11);
  res.keep_alive(false);
  res.set(http::field::server, "rvp-test-server");

  if (req.method() == http::verb::post && target == "/echo") {
    res.result(http::status::ok);
    res.set(http::field::content_type, "text/plain");
    res.set("X-Echo-Content-Type", std::string(req[http::field::content_type]));
    res.body() = req.body();
    res.prepare_payload();
    http::write(socket, res, ec);
    return;
  }

  std::string path = target;
  enum { Plain, Chunked, NoRanges, Drop, Hang, Stall } mode = Plain;
  size_t cutAfter = 0;
  std::string rest;
  if (path.compare(0, 9, "/chunked/") == 0) {
    mode = Chunked;
    path = path.substr(8);
  } else if (path.compare(0, 10, "/noranges/") == 0) {
    mode = NoRanges;
    path = path.substr(9);
  } else if (path.compare(0, 7, "/stall/") == 0) {
    mode = Stall;
    path = path.substr(6);
  } else if (countedPrefix(path, "drop", cutAfter, rest)) {
    mode = Drop;
    path = rest;
  } else if (countedPrefix(path, "hang", cutAfter, rest)) {
    mode = Hang;
    path = rest;
  }
  std::string body;
  if (req.method() != http::verb::get || !readFile(folder + path, body)) {
    res.result(http::status::not_found);
    res.set(http::field::content_type, "text/plain");
    res.body() = "not found";
    res.prepare_payload();
    http::write(socket, res, ec);
    return;
  }
  res.set(http::field::content_type, "application/octet-stream");
  switch (mode) {
    case Chunked: {
      res.result(http::status::ok);
      res.body() = body;
      res.chunked(true);
      http::write(socket, res, ec);
      return;
    }
    case Drop:
    case Hang: {
      std::ostringstream head;
      head << "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: " << body.size()
           << "\r\nConnection: close\r\n\r\n";
      writeAll(socket, head.str() + body.substr(0, std::min(cutAfter, body.size())));
      if (mode == Hang) holdUntilClientLeaves(socket, stopping);
      return;
    }
    case Stall:
      holdUntilClientLeaves(socket, stopping);
      return;
    case Plain: {
      res.set(http::field::accept_ranges, "bytes");
      size_t first = 0, last = 0;
      if (parseRange(std::string(req[http::field::range]), body.size(), first, last)) {
        res.result(http::status::partial_content);
        res.set(http::field::content_range,
                "bytes " + std::to_string(first) + "-" + std::to_string(last) + "/" + std::to_string(body.size()));
        res.body() = body.substr(first, last - first + 1);
        res.prepare_payload();
        http::write(socket, res, ec);
        return;
      }
      break;
    }
    case NoRanges:
      break;
  }
  res.result(http::status::ok);
  res.body() = body;
  res.prepare_payload();
  http::write(socket, res, ec);
}

}  // namespace

HttpServer::HttpServer(std::string folder) : folder_(std::move(folder)) {
  std::promise<void> listening;
  std::future<void> ready = listening.get_future();
  thread_ = std::thread([this, listening = std::move(listening)]() mutable { serve(listening); });
  // The port is known once the acceptor listens (or failed to).
  ready.wait();
  if (port_ == 0) {
    thread_.join();
    throw std::runtime_error("the test HTTP server could not listen");
  }
}

HttpServer::~HttpServer() {
  stopping_ = true;
  // Wakes the blocking accept with one last connection.
  try {
    asio::io_context io;
    tcp::socket wake(io);
    wake.connect(tcp::endpoint(asio::ip::address_v4::loopback(), port_));
  } catch (const std::exception&) {
  }
  if (thread_.joinable()) thread_.join();
}

std::string HttpServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void HttpServer::serve(std::promise<void>& listening) {
  asio::io_context io;
  tcp::acceptor acceptor(io);
  try {
    acceptor.open(tcp::v4());
    acceptor.set_option(tcp::acceptor::reuse_address(true));
    acceptor.bind(tcp::endpoint(asio::ip::address_v4::loopback(), 0));
    acceptor.listen();
  } catch (const std::exception&) {
    stopping_ = true;
    listening.set_value();
    return;
  }
  port_ = acceptor.local_endpoint().port();
  listening.set_value();
  while (!stopping_) {
    tcp::socket socket(io);
    boost::system::error_code ec;
    acceptor.accept(socket, ec);
    if (ec || stopping_) continue;
    ++requests_;
    handle(socket, folder_, stopping_);
    socket.shutdown(tcp::socket::shutdown_both, ec);
  }
}

}  // namespace rvp::httpserver
