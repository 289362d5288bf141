#include "PageOrigin.h"

#include <exception>

#include "URI.h"

namespace rvp {
namespace {

std::string lowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// Four decimal parts of 1 to 3 digits, each at most 255.
bool isDottedQuad(const std::string& host) {
  int parts = 0;
  std::size_t i = 0;
  while (i <= host.size()) {
    std::size_t end = host.find('.', i);
    if (end == std::string::npos) end = host.size();
    const std::string part = host.substr(i, end - i);
    if (part.empty() || part.size() > 3) return false;
    for (char c : part)
      if (c < '0' || c > '9') return false;
    if (std::stoi(part) > 255) return false;
    ++parts;
    i = end + 1;
  }
  return parts == 4;
}

bool entryMatches(const std::string& entry, const std::string& host, const std::string& hostWithPort) {
  if (entry.empty()) return false;
  const std::string wanted = lowerAscii(entry);
  if (wanted == host || (!hostWithPort.empty() && wanted == hostWithPort)) return true;
  return wanted.back() == '.' && isDottedQuad(host) && host.compare(0, wanted.size(), wanted) == 0;
}

}  // namespace

bool pageOriginAllowed(const std::string& address, const std::string* entries, int count) {
  PF::URI uri;
  try {
    uri = PF::URI(address);
  } catch (const std::exception&) {
    return false;
  }
  if (uri.protocol != "http" && uri.protocol != "https") return false;
  const std::string host = uri.domain;  // the parser lower-cases it
  if (host.empty()) return false;
  const std::string hostWithPort = uri.port != 0 ? host + ":" + std::to_string(uri.port) : std::string();

  // Every entry is looked at, whatever the outcome.
  bool allowed = false;
  for (int i = 0; i < count; ++i)
    if (entryMatches(entries[i], host, hostWithPort)) allowed = true;
  return allowed;
}

}  // namespace rvp
