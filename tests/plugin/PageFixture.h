// One scripting object in a fake page, and shorthands for calling it as the page does.
#pragma once

#include <string>
#include <vector>

#include <boost/make_shared.hpp>

#include "FakePage.h"
#include "ZODODOVURAVUVOD.h"

namespace plugin_test {

// The bank's own page unless a test sets another address: its members reach the card.
constexpr char kBankPage[] = "https://webatm.postbank.example/atm/index.html";

class PageObject {
 public:
  PageObject()
      : host(FakeHost::make()), object(boost::make_shared<ZODODOVURAVUVOD>(boost::shared_ptr<DUZIVUREZORO>(), host)) {
    host->setLocation(PF::variant(std::string(kBankPage)));
  }

  PF::variant call(const std::string& name, const std::vector<PF::variant>& args = {}) {
    return object->Invoke(name, args);
  }
  long callForCode(const std::string& name) { return call(name).convert_cast<long>(); }
  PF::variant get(const std::string& name) { return object->GetProperty(name); }
  std::string getText(const std::string& name) { return get(name).convert_cast<std::string>(); }
  void set(const std::string& name, const PF::variant& value) { object->SetProperty(name, value); }
  ZododovuRavuVODCtrl& ctrl() { return object->controller(); }

  FakeHostPtr host;
  boost::shared_ptr<ZODODOVURAVUVOD> object;
};

}  // namespace plugin_test
