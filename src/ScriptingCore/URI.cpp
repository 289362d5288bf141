#include "URI.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/lexical_cast.hpp>

#include <cctype>
#include <stdexcept>
#include <typeinfo>

namespace PF {

URI::StringStringMap URI::m_lhMap;

namespace {

std::string lowerAscii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

bool isAsciiAlnum(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string loopbackText() {
  char buf[INET_ADDRSTRLEN] = {0};
  in_addr addr;
  addr.s_addr = htonl(INADDR_LOOPBACK);
  inet_ntop(AF_INET, &addr, buf, sizeof buf);
  return buf;
}

// A port is an optional sign and decimal digits whose value fits 0-65535. Anything
// else is refused the way a failed text-to-number conversion is, rather than wrapped.
std::uint16_t parsePort(const std::string& text) {
  auto refuse = [] { return boost::bad_lexical_cast(typeid(std::string), typeid(std::uint16_t)); };
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i == text.size()) throw refuse();
  unsigned long value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') throw refuse();
    value = value * 10 + static_cast<unsigned long>(text[i] - '0');
    if (value > 65535) throw refuse();
  }
  if (negative && value != 0) throw refuse();
  return static_cast<std::uint16_t>(value);
}

}  // namespace

URI::URI(const std::string& text) { parse(text); }

void URI::parse(const std::string& text) {
  std::string work = text;
  const std::size_t sep = work.find("://");
  if (sep != std::string::npos) {
    protocol = lowerAscii(work.substr(0, sep));
    work = work.substr(sep + 3);
  }
  for (char c : protocol)
    if (!isAsciiAlnum(c)) throw std::runtime_error("URI: invalid characters in protocol part");

  if (protocol != "file") {
    // The host part ends where the path, query or fragment begins, as a browser
    // reads it; otherwise "host#@other" would name "other".
    const std::size_t end = work.find_first_of("/\\?#");
    std::string authority;
    if (end == std::string::npos) {
      authority = work;
      work = "/";
    } else {
      authority = work.substr(0, end);
      work = work.substr(end);
      if (work[0] == '?' || work[0] == '#') work.insert(0, "/");
    }
    parseAuthority(authority);
  }

  const std::size_t hash = work.find('#');
  if (hash != std::string::npos) {
    fragment = work.substr(hash + 1);
    work.erase(hash);
  }
  const std::size_t question = work.find('?');
  if (question != std::string::npos) {
    parse_query_data(work.substr(question + 1));
    work.erase(question);
  }
  path = url_decode(work);
}

void URI::parseAuthority(std::string authority) {
  // User info may itself hold "@"; the host is what follows the last one.
  const std::size_t at = authority.rfind('@');
  if (at != std::string::npos) {
    login = authority.substr(0, at);
    authority = authority.substr(at + 1);
  }
  std::size_t colon;
  if (!authority.empty() && authority[0] == '[') {
    // Bracketed IPv6 literal: its colons are not the port separator.
    const std::size_t close = authority.find(']');
    colon = close == std::string::npos ? std::string::npos : authority.find(':', close);
  } else {
    colon = authority.find(':');
  }
  if (colon != std::string::npos) {
    domain = authority.substr(0, colon);
    portText = authority.substr(colon + 1);
    port = parsePort(portText);
  } else {
    domain = authority;
  }
  domain = lowerAscii(domain);
}

std::string URI::toString(bool withHost) const {
  std::string out;
  if (withHost) {
    out += protocol + "://";
    if (!login.empty()) out += login + "@";
    out += domain;
    if (port != 0) out += ":" + std::to_string(port);
  }
  out += url_encode(path);
  bool first = true;
  for (const auto& pair : query_data) {
    out += first ? "?" : "&";
    first = false;
    out += url_encode(pair.first) + "=" + url_encode(pair.second);
  }
  if (!fragment.empty()) out += "#" + fragment;
  return out;
}

std::string URI::url_encode(const std::string& in) {
  static const char kHex[] = "0123456789abcdef";
  static const std::string kKept = "!$'()*+,-./_";
  std::string out;
  out.reserve(in.size());
  for (char c : in) {
    if (isAsciiAlnum(c) || kKept.find(c) != std::string::npos) {
      out += c;
    } else {
      const unsigned char b = static_cast<unsigned char>(c);
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 0x0f];
    }
  }
  return out;
}

std::string URI::url_decode(const std::string& in) {
  std::string out;
  out.reserve(in.size());
  for (std::size_t i = 0; i < in.size(); ++i) {
    if (in[i] == '%' && i + 2 < in.size()) {
      const int hi = hexValue(in[i + 1]);
      const int lo = hexValue(in[i + 2]);
      if (hi >= 0 && lo >= 0) {
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        continue;
      }
    }
    out += in[i];
  }
  return out;
}

void URI::parse_query_data(const std::string& query) {
  std::size_t start = 0;
  while (true) {
    const std::size_t amp = query.find('&', start);
    const std::string piece = query.substr(start, amp == std::string::npos ? std::string::npos : amp - start);
    const std::size_t eq = piece.find('=');
    if (eq == std::string::npos) {
      query_data[url_decode(piece)] = std::string();
    } else {
      const std::size_t eq2 = piece.find('=', eq + 1);
      const std::string value = piece.substr(eq + 1, eq2 == std::string::npos ? std::string::npos : eq2 - eq - 1);
      query_data[url_decode(piece.substr(0, eq))] = url_decode(value);
    }
    if (amp == std::string::npos) break;
    start = amp + 1;
  }
}

void URI::appendPathComponent(const std::string& component) {
  if (component.empty()) return;
  if (!path.empty() && path.back() == '/') path.pop_back();
  if (component[0] != '/') path += '/';
  path += component;
}

std::string URI::filename() const {
  if (path.empty() || path.back() == '/') return std::string();
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void URI::registerValidLocalhost(const std::string& alias, const std::string& address) {
  m_lhMap[alias] = address.empty() ? loopbackText() : address;
}

void URI::resetValidLocalhost() { m_lhMap.clear(); }

bool URI::isLocalhost() const {
  const auto found = m_lhMap.find(domain);
  if (found == m_lhMap.end()) return false;
  const std::string loopback = loopbackText();
  if (found->second == loopback) return true;

  boost::asio::io_context io;
  boost::asio::ip::tcp::resolver resolver(io);
  const auto results =
      resolver.resolve(boost::asio::ip::tcp::v4(), domain, "80", boost::asio::ip::tcp::resolver::numeric_service);
  if (results.empty()) return false;
  return results.begin()->endpoint().address().to_string() == loopback;
}

bool URI::operator==(const URI& other) const {
  return protocol == other.protocol && login == other.login && domain == other.domain && port == other.port &&
         path == other.path && fragment == other.fragment && query_data == other.query_data;
}

}  // namespace PF
