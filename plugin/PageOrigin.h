// Which pages may start a transaction: only the host of the page's address counts, never what the
// page can choose freely (user info, path, query, fragment).
#pragma once

#include <string>

namespace rvp {

// True when `address` is an http or https address whose host (lower-cased), or host:port, equals one
// of the first `count` entries, or whose dotted-quad host starts with an address prefix entry (digits
// and dots ending in "."; such an entry never matches as a host name of its own). Empty entries match
// nothing; an address that does not parse, or whose port is not 1 to 5 ASCII digits, matches nothing.
bool pageOriginAllowed(const std::string& address, const std::string* entries, int count);

}  // namespace rvp
