#pragma once
// The system's proxy settings for a URL, for browser hosts whose browser gives no answer of its own.

#include <map>
#include <string>

#include <boost/noncopyable.hpp>

namespace PF {

class SystemProxyDetector : boost::noncopyable {
 public:
  virtual ~SystemProxyDetector() {}

  // The platform's detector, made on first use; null on a platform without one.
  static SystemProxyDetector* get();

  // Fills "type", "hostname" and "port" (other entries stay) and answers true when a proxy applies to
  // the URL; false leaves the settings as they were.
  virtual bool detectProxy(std::map<std::string, std::string>& settings, const std::string& url) = 0;
};

}  // namespace PF
