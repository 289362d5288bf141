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

// An entry such as "192.168.20.": digits and dots ending in a dot. It names the addresses under it,
// never a host of its own.
bool isAddressPrefix(const std::string& entry) {
  return !entry.empty() && entry.back() == '.' && entry.find_first_not_of("0123456789.") == std::string::npos;
}

// One to five ASCII digits; a sign, a space or anything else makes the address untrustworthy.
bool isPlainPort(const std::string& text) {
  return !text.empty() && text.size() <= 5 && text.find_first_not_of("0123456789") == std::string::npos;
}

bool entryMatches(const std::string& entry, const std::string& host, const std::string& hostWithPort) {
  if (entry.empty()) return false;
  const std::string wanted = lowerAscii(entry);
  if (isAddressPrefix(wanted)) return isDottedQuad(host) && host.compare(0, wanted.size(), wanted) == 0;
  return wanted == host || (!hostWithPort.empty() && wanted == hostWithPort);
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
  // The parser reads "+8080" and "-0" as ports; a page address never writes them so.
  if (!uri.portText.empty() && !isPlainPort(uri.portText)) return false;
  const std::string hostWithPort = uri.port != 0 ? host + ":" + std::to_string(uri.port) : std::string();

  // Every entry is looked at, whatever the outcome.
  bool allowed = false;
  for (int i = 0; i < count; ++i)
    if (entryMatches(entries[i], host, hostWithPort)) allowed = true;
  return allowed;
}

}  // namespace rvp
