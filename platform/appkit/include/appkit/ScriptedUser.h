#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "appkit/Alert.h"
#include "appkit/Application.h"
#include "appkit/Events.h"
#include "appkit/Window.h"

namespace appkit {

// A user who follows a script, for running dialogs headless. Steps are queued up front (each adder
// returns the user, so they chain) and taken one at a time whenever a modal session is idle, always on
// the window of the innermost session (a dialog, or an alert above it). A wait lets virtual time pass
// with the timers firing on their dates; it belongs to the session it began in and is dropped if that
// session ends first. When a session waits and the script is used up, the watchdog reports a failure
// and aborts every session, so a test never hangs.
//
// While it lives, the user is the application's idle handler; a user made while another lives takes
// over until it goes, and then hands back to the latest one still living. Failures (a check that does not hold, a
// control that is missing, hidden or disabled) go to the failure handler and the script goes on.
class ScriptedUser {
 public:
  using FailureHandler = std::function<void(const std::string& message)>;

  explicit ScriptedUser(FailureHandler onFailure = {});
  ~ScriptedUser();
  ScriptedUser(const ScriptedUser&) = delete;
  ScriptedUser& operator=(const ScriptedUser&) = delete;

  // Checks.
  ScriptedUser& expectWindow(const std::string& name);
  // The text a control shows (string value of a field or combo box, title of a button).
  ScriptedUser& expectText(const std::string& outlet, const std::string& text);
  // The value a drawn entry display shows, without the blanks that pad it to its width (the digits
  // typed, or one "*" per PIN digit).
  ScriptedUser& expectDisplay(const std::string& outlet, const std::string& value);
  ScriptedUser& expectAlert(const std::string& informativeText, const std::string& messageText,
                            std::optional<AlertStyle> style = std::nullopt,
                            std::optional<std::vector<std::string>> buttons = std::nullopt);
  // Any check or look of the test's own at the top window.
  ScriptedUser& inspect(std::function<void(Window& top)> look);
  // Something that happens in the world meanwhile (the card is pulled out, ...).
  ScriptedUser& run(std::function<void()> action);

  // Doings.
  ScriptedUser& click(const std::string& outlet);
  // Clicks the visible button that shows exactly this text (a key of the on-screen keypad).
  ScriptedUser& clickShowing(const std::string& text);
  // Presses, on the on-screen keypad, the key showing each digit in turn (one step per digit).
  ScriptedUser& pressDigits(const std::string& digits);
  // Reads the digits a drawn control shows (the verification-code image) and presses the keys showing
  // them, as a person copies the code.
  ScriptedUser& typeDigitsShownIn(const std::string& outlet);
  ScriptedUser& choose(const std::string& outlet, int index);
  ScriptedUser& chooseItem(const std::string& outlet, const std::string& item);
  ScriptedUser& selectRow(const std::string& outlet, int row);
  ScriptedUser& editCell(const std::string& outlet, int row, const std::string& column, const std::string& value);
  // Clicks into a field so that it has the focus.
  ScriptedUser& focus(const std::string& outlet);
  // Types text on the physical keyboard, one key per character.
  ScriptedUser& type(const std::string& text);
  ScriptedUser& pressKey(const KeyEvent& key);
  // Ends the top alert with its first (1), second (2) or third (3) button.
  ScriptedUser& answerAlert(int button);
  ScriptedUser& closeWindow();
  // The user switches to another application and back.
  ScriptedUser& deactivateApp();
  ScriptedUser& activateApp();
  ScriptedUser& wait(double seconds);
  ScriptedUser& savePng(const std::string& path);
  // The whole virtual screen: the top window with whatever lies beneath it.
  ScriptedUser& saveScreenPng(const std::string& path);

  // The same steps as words, for scripts written as text (a page script of the test browser):
  //   click OUTLET | clickShowing TEXT | pressDigits DIGITS | typeDigitsShownIn OUTLET | choose OUTLET INDEX |
  //   chooseItem OUTLET ITEM | selectRow OUTLET ROW | editCell OUTLET ROW COLUMN VALUE | focus OUTLET | type TEXT | key
  //   backspace|enter|escape|CHARACTERS | answerAlert 1|2|3 | closeWindow | deactivateApp | activateApp | wait SECONDS
  //   | savePng PATH | saveScreenPng PATH | expectWindow NAME | expectText OUTLET TEXT | expectDisplay OUTLET VALUE |
  //   expectAlert TEXT TITLE [informational|critical|warning]
  // False, with the reason in `error`, for an unknown verb or wrong arguments; nothing is queued then.
  bool addStep(const std::vector<std::string>& words, std::string* error = nullptr);

  // True when every step has been taken (waits whose session ended count as taken).
  bool finished();
  std::size_t pendingSteps();
  // Forgets every step not taken yet (their failures already reported by the caller).
  void dropPendingSteps() { steps_.clear(); }
  const std::vector<std::string>& failures() const { return failures_; }

 private:
  struct Step {
    std::string description;
    std::function<void(Window& top)> act;
    double waitSeconds = -1;  // a wait when >= 0
    std::optional<double> waitUntil;
    unsigned long waitSession = 0;
  };
  ScriptedUser& add(std::string description, std::function<void(Window& top)> act);
  Step clickShowingStep(const std::string& text);
  bool onIdle(Window& top);
  void dropStaleWaits();
  void fail(const std::string& message);

  std::deque<Step> steps_;
  std::vector<std::string> failures_;
  FailureHandler onFailure_;
};

}  // namespace appkit
