#pragma once
// A parsed web address: lenient parser, printer, percent coding, query pairs,
// path helpers and a test whether the address names this machine.

#include <cstdint>
#include <map>
#include <string>

namespace PF {

class URI {
 public:
  typedef std::map<std::string, std::string> StringStringMap;

  std::string protocol;    // lower-cased scheme without "://"
  std::string login;       // user part before "@", unchanged
  std::string domain;      // lower-cased host
  std::uint16_t port = 0;  // 0 = none given
  std::string portText;    // the port exactly as written after ":", empty when none given
  std::string path;        // percent-decoded
  StringStringMap query_data;
  std::string fragment;  // not decoded

  URI() = default;
  // Throws std::runtime_error for a bad scheme and boost::bad_lexical_cast for a
  // port that is not a number in 0-65535.
  explicit URI(const std::string& text);
  static URI fromString(const std::string& text) { return URI(text); }

  // withHost: print scheme, login, host and port before the path.
  std::string toString(bool withHost = true) const;

  static std::string url_encode(const std::string& in);
  static std::string url_decode(const std::string& in);

  void parse_query_data(const std::string& query);
  void appendPathComponent(const std::string& component);
  std::string filename() const;

  // A host counts as local only when registered; a registered host whose address
  // is not the loopback text is resolved (IPv4) to see where it points.
  bool isLocalhost() const;
  static void registerValidLocalhost(const std::string& alias, const std::string& address = std::string());
  static void resetValidLocalhost();

  bool operator==(const URI& other) const;
  bool operator!=(const URI& other) const { return !(*this == other); }

 private:
  void parse(const std::string& text);
  void parseAuthority(std::string authority);
  static StringStringMap m_lhMap;
};

}  // namespace PF
