// The one scripting object the page sees. Nearly every member forwards at once to the transaction
// controller held inside; every member that reaches the reader, the card or a dialog first passes the
// page-origin check.
#pragma once

#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

#include "BrowserHost.h"
#include "JSAPIAuto.h"
#include "ZododovuRavuVODCtrl.h"

class DUZIVUREZORO;
class ZODODOVURAVUVOD;

// One name the page can use, as the constructor registers it.
struct PageMember {
  enum Kind { Method, Property, ReadOnlyProperty };
  // Who may use the member. A Guarded member runs the page-origin check first and, for a page outside
  // the allowed origins, never calls the controller: a method answers 9980, a property reads as an
  // empty text (its setter stays open: it only stores what the page gives). Open members serve any page.
  enum Reach { Open, Guarded };
  const char* name;
  Kind kind;
  Reach reach;
  // Exactly one of the two is set, by kind.
  PF::CallMethodFunctor (*method)(ZODODOVURAVUVOD&);
  PF::PropertyFunctors (*property)(ZODODOVURAVUVOD&);
};

class ZODODOVURAVUVOD : public PF::JSAPIAuto {
 public:
  ZODODOVURAVUVOD(const boost::shared_ptr<DUZIVUREZORO>& plugin, const boost::shared_ptr<PF::BrowserHost>& host);
  ~ZODODOVURAVUVOD() override;

  // Every name the page can use, in registration order.
  static const std::vector<PageMember>& pageMembers();

  // The plug-in that made this object; script_error "The plugin is invalid" once it is gone.
  boost::shared_ptr<DUZIVUREZORO> getPlugin() const;

  // The controller every member forwards to.
  ZododovuRavuVODCtrl& controller() { return ctrl; }

  // ---- the object's own members ----
  PF::variant echo(const PF::variant& value);
  void testEvent();
  std::string GetAPIVersion();
  std::string GetLogContent();
  std::string getTestString();
  void setTestString(const std::string& text);
  std::string getVersion();

  // ---- indexed lists: caReaderGet(index), caReaderPut(index, text), ... ----
  // Indexes stay 64-bit down to the controller, which refuses anything outside its table.
#define RVP_PAGE_LIST_MEMBERS(list)                                   \
  std::string list##Get(long index) { return ctrl.Get##list(index); } \
  void list##Put(long index, const std::string& text) { ctrl.Set##list(index, text.c_str()); }
  RVP_PAGE_LIST_MEMBERS(caReader)
  RVP_PAGE_LIST_MEMBERS(baAccount)
  RVP_PAGE_LIST_MEMBERS(baRecord)
  RVP_PAGE_LIST_MEMBERS(OptionData)
  RVP_PAGE_LIST_MEMBERS(baAppnAccount)
#undef RVP_PAGE_LIST_MEMBERS

  // 0 when the embedding page may start a transaction, else 10. Records the page's address in the
  // controller whenever the page has one.
  long IsWebCtl();
  // The check a Guarded member runs: the page is allowed and this instance still lives after the
  // location read (page script runs inside that read and may have destroyed it).
  bool pageMayReachCard();

 private:
  void fire_echo(const PF::variant& text, int count);
  void fire_test();
  // The member's functors, behind the origin check when it is Guarded.
  PF::CallMethodFunctor guardedMethod(const PF::CallMethodFunctor& method);
  PF::PropertyFunctors guardedProperty(const PF::PropertyFunctors& property);
  // The page's full address; false when the page has no window or location.
  bool readPageLocation(std::string& location) const;

  boost::weak_ptr<DUZIVUREZORO> plugin;
  boost::shared_ptr<PF::BrowserHost> host;
  std::string testString;
  ZododovuRavuVODCtrl ctrl;
};
