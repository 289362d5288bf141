// Which pages may start a transaction: only the host of the page's address counts, never what the
// page can choose freely (user info, path, query, fragment).
#pragma once

#include <string>

namespace rvp {

// True when `address` is an http or https address whose host (lower-cased), or host:port, equals one
// of the first `count` entries, or whose dotted-quad host starts with an entry that ends in ".".
// Empty entries match nothing; an address that does not parse matches nothing.
bool pageOriginAllowed(const std::string& address, const std::string* entries, int count);

}  // namespace rvp
