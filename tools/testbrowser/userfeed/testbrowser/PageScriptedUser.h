// The dialog toolkit's scripted user, fed from the page: a page script queues steps through its global
// `user` object (user.click("btnOK") queues "click<TAB>btnOK"); the browser hands them to the host loop,
// and this object, living in the plug-in beside the dialogs, turns each into a step of an
// appkit::ScriptedUser as it arrives. Failures of the user (a check that does not hold, an unknown step,
// steps never taken) go back through the host loop to the browser, which counts them as page errors;
// steps still waiting when the page run ends (a dialog that never opened) are reported then, before the
// browser counts, however long the plug-in keeps this object.
//
// Link it into a plug-in under test and keep one instance alive while pages run (for example from
// NP_Initialize to NP_Shutdown). Every step there is: expectWindow NAME; expectText OUTLET TEXT;
// expectAlert INFO MESSAGE [informational|critical|warning]; expectDisplay OUTLET VALUE; click OUTLET;
// clickShowing TEXT; digit D; pressDigits DIGITS; typeDigitsShownIn OUTLET; choose OUTLET INDEX;
// chooseItem OUTLET ITEM; selectRow OUTLET ROW; editCell OUTLET ROW COLUMN VALUE; focus OUTLET; type TEXT;
// pressKey (or key) backspace|enter|escape|CHARACTER; answerAlert 1|2|3; closeWindow; deactivateApp;
// activateApp; wait SECONDS; savePng PATH (the window the steps act on); saveScreenPng PATH (the whole
// screen, an alert over its dialog included).
#pragma once

#include <string>

#include "appkit/ScriptedUser.h"

namespace testbrowser {

// Adds the step one line describes; false with the reason for an unknown verb or unfit arguments.
bool addPageUserStep(appkit::ScriptedUser& user, const std::string& line, std::string& error);

class PageScriptedUser {
 public:
  PageScriptedUser();   // takes steps already queued, then listens for more
  ~PageScriptedUser();  // stops listening; reports steps never taken
  PageScriptedUser(const PageScriptedUser&) = delete;
  PageScriptedUser& operator=(const PageScriptedUser&) = delete;

  appkit::ScriptedUser& user() { return user_; }
  // Moves every queued step into the user; returns how many lines were taken.
  size_t takeQueuedSteps();

 private:
  // Reports the steps still waiting as never taken and drops them.
  void reportStepsNeverTaken();
  static void stepQueued(void* self);
  static void pageEnded(void* self);
  appkit::ScriptedUser user_;
};

}  // namespace testbrowser
