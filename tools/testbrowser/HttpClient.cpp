#include "testbrowser/HttpClient.h"

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include <chrono>
#include <limits>

namespace testbrowser {

namespace asio = boost::asio;
namespace http = boost::beast::http;
using tcp = asio::ip::tcp;

bool parseLoopbackUrl(const std::string& url, HttpAddress& out) {
  const std::string scheme = "http://";
  if (url.compare(0, scheme.size(), scheme) != 0) return false;
  size_t hostStart = scheme.size();
  size_t pathStart = url.find('/', hostStart);
  std::string authority =
      url.substr(hostStart, pathStart == std::string::npos ? std::string::npos : pathStart - hostStart);
  out.target = pathStart == std::string::npos ? "/" : url.substr(pathStart);
  size_t fragment = out.target.find('#');
  if (fragment != std::string::npos) out.target.erase(fragment);
  size_t colon = authority.rfind(':');
  out.host = authority.substr(0, colon);
  out.port = 80;
  if (colon != std::string::npos) {
    try {
      size_t used = 0;
      unsigned long port = std::stoul(authority.substr(colon + 1), &used);
      if (used != authority.size() - colon - 1 || port == 0 || port > 65535) return false;
      out.port = static_cast<unsigned short>(port);
    } catch (const std::exception&) {
      return false;
    }
  }
  return out.host == "127.0.0.1" || out.host == "localhost";
}

HttpResponse httpRequest(const HttpAddress& address, const std::string& method,
                         const std::vector<std::pair<std::string, std::string>>& headers, const std::string& body,
                         std::chrono::milliseconds timeout) {
  HttpResponse out;
  try {
    asio::io_context io;
    boost::beast::tcp_stream stream(io);
    http::request<http::string_body> req(http::string_to_verb(method), address.target, 11);
    req.set(http::field::host, address.host + ":" + std::to_string(address.port));
    req.set(http::field::user_agent, "RvpTestBrowser/1.0");
    for (const auto& h : headers) req.set(h.first, h.second);
    req.body() = body;
    if (method != "GET" || !body.empty()) req.prepare_payload();

    boost::beast::flat_buffer buffer;
    http::response_parser<http::string_body> parser;
    parser.body_limit(std::numeric_limits<std::uint64_t>::max());
    boost::system::error_code ec;
    // One deadline for the whole exchange: a server that stops answering ends the request, not the page.
    stream.expires_after(timeout);
    stream.async_connect(
        tcp::endpoint(asio::ip::address_v4::loopback(), address.port), [&](boost::system::error_code e) {
          if (e) return void(ec = e);
          http::async_write(stream, req, [&](boost::system::error_code e, std::size_t) {
            if (e) return void(ec = e);
            http::async_read_header(stream, buffer, parser, [&](boost::system::error_code e, std::size_t) {
              if (e) return void(ec = e);
              out.answered = true;
              http::async_read(stream, buffer, parser, [&](boost::system::error_code e, std::size_t) { ec = e; });
            });
          });
        });
    io.run();
    if (!out.answered) {
      out.error = ec ? ec.message() : "no answer";
      return out;
    }
    const auto& res = parser.get();
    out.status = res.result_int();
    out.headers = "HTTP/1.1 " + std::to_string(res.result_int()) + " " + std::string(res.reason()) + "\r\n";
    for (const auto& field : res)
      out.headers += std::string(field.name_string()) + ": " + std::string(field.value()) + "\r\n";
    out.headers += "\r\n";
    out.contentType = std::string(res[http::field::content_type]);
    out.acceptsRanges = res[http::field::accept_ranges] == "bytes";
    if (auto length = parser.content_length()) {
      out.hasLength = true;
      out.length = *length;
    }
    out.body = res.body();
    out.complete = !ec;
    if (ec) out.error = ec.message();
  } catch (const std::exception& e) {
    out.error = e.what();
  }
  return out;
}

}  // namespace testbrowser
