#include "ZODODOVURAVUVOD.h"

#include <exception>

#include "DOMWindow.h"
#include "DUZIVUREZORO.h"
#include "PageOrigin.h"
#include "ResultCodes.h"
#include "crypto/Setting.h"
#include "script_error.h"

namespace {

const char kVersion[] = "1.1.1.47";
const char kEchoText[] = "So far, you clicked this many times: ";
constexpr long kOriginAllowed = 0;
constexpr long kOriginRefused = 10;

// How many times "echo" has been called in this process, over every scripting object.
int echoCount = 0;

}  // namespace

ZODODOVURAVUVOD::ZODODOVURAVUVOD(const boost::shared_ptr<DUZIVUREZORO>& plugin,
                                 const boost::shared_ptr<PF::BrowserHost>& host)
    : PF::JSAPIAuto("<JSAPI-Auto Javascript Object>"), plugin(plugin), host(host) {
  for (const PageMember& member : pageMembers()) {
    const bool guarded = member.reach == PageMember::Guarded;
    if (member.kind == PageMember::Method) {
      PF::CallMethodFunctor method = member.method(*this);
      registerMethod(member.name, guarded ? guardedMethod(method) : method);
    } else {
      PF::PropertyFunctors property = member.property(*this);
      registerProperty(member.name, guarded ? guardedProperty(property) : property);
    }
  }
}

ZODODOVURAVUVOD::~ZODODOVURAVUVOD() {}

boost::shared_ptr<DUZIVUREZORO> ZODODOVURAVUVOD::getPlugin() const {
  boost::shared_ptr<DUZIVUREZORO> owner = plugin.lock();
  if (!owner) throw PF::script_error("The plugin is invalid");
  return owner;
}

PF::variant ZODODOVURAVUVOD::echo(const PF::variant& value) {
  const int count = echoCount++;
  fire_echo(PF::variant(std::string(kEchoText)), count);
  return value;
}

void ZODODOVURAVUVOD::testEvent() { fire_test(); }

void ZODODOVURAVUVOD::fire_echo(const PF::variant& text, int count) {
  FireEvent("onecho", std::vector<PF::variant>{text, PF::variant(count)});
}

void ZODODOVURAVUVOD::fire_test() { FireEvent("ontest", std::vector<PF::variant>()); }

std::string ZODODOVURAVUVOD::GetAPIVersion() { return kVersion; }
std::string ZODODOVURAVUVOD::GetLogContent() { return kVersion; }
std::string ZODODOVURAVUVOD::getVersion() { return kVersion; }
std::string ZODODOVURAVUVOD::getTestString() { return testString; }
void ZODODOVURAVUVOD::setTestString(const std::string& text) { testString = text; }

bool ZODODOVURAVUVOD::readPageLocation(std::string& location) const {
  if (!host) return false;
  try {
    boost::shared_ptr<PF::DOM::Window> window = host->getDOMWindow();
    if (!window) return false;
    location = window->getLocation();
    return true;
  } catch (const std::exception&) {
    // No window, no location object, or a location that is not text: no page to trust.
    return false;
  }
}

long ZODODOVURAVUVOD::IsWebCtl() {
  std::string location;
  if (!readPageLocation(location)) return kOriginRefused;
  ctrl.SetCurrentURL(location.c_str());
  return rvp::pageOriginAllowed(location, WEBURL, WEBURLCNT) ? kOriginAllowed : kOriginRefused;
}

bool ZODODOVURAVUVOD::pageMayReachCard() {
  if (IsWebCtl() != kOriginAllowed) return false;
  // The instance may have been destroyed by page script run inside the location read: its host is
  // shut down and this object invalidated, so nothing may reach the card in its name any more.
  return host && !host->isShutDown() && isValid();
}

// The functors hold this object by plain pointer, as every registered member does: the object owns
// them and they never outlive it.
PF::CallMethodFunctor ZODODOVURAVUVOD::guardedMethod(const PF::CallMethodFunctor& method) {
  return [this, method](const std::vector<PF::variant>& args) {
    if (!pageMayReachCard()) return PF::variant(rc::kRefused);
    return method(args);
  };
}

PF::PropertyFunctors ZODODOVURAVUVOD::guardedProperty(const PF::PropertyFunctors& property) {
  PF::GetPropFunctor get = property.get;
  return PF::PropertyFunctors([this, get] { return pageMayReachCard() ? get() : PF::variant(std::string()); },
                              property.set);
}
