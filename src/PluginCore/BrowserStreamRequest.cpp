#include "BrowserStreamRequest.h"

#include "SimpleStreamHelper.h"

namespace PF {

BrowserStreamRequest::BrowserStreamRequest(const std::string& url, const std::string& method, bool accepted)
    : uri(URI::fromString(url)), method(method), m_accepted(accepted) {}

BrowserStreamRequest::BrowserStreamRequest(const URI& uri, const std::string& method, bool accepted)
    : uri(uri), method(method), m_accepted(accepted) {}

void BrowserStreamRequest::setHeaders(const std::string& rawHeaders) {
  m_headers = SimpleStreamHelper::parse_http_headers(rawHeaders);
}

}  // namespace PF
