#include "appkit/ScriptedUser.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "appkit/Application.h"
#include "appkit/Clock.h"
#include "appkit/Controls.h"
#include "appkit/RunLoop.h"

namespace appkit {
namespace {

const char* styleName(AlertStyle style) {
  switch (style) {
    case AlertStyle::Informational:
      return "informational";
    case AlertStyle::Critical:
      return "critical";
    case AlertStyle::Warning:
      break;
  }
  return "warning";
}

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// The text a view shows to the user.
std::string shownText(View* view) {
  if (auto* button = dynamic_cast<Button*>(view)) return button->displayedText();
  if (auto* control = dynamic_cast<Control*>(view)) return control->stringValue();
  return std::string();
}

}  // namespace

namespace {
// Living users, latest last; the latest is the application's idle handler.
std::vector<ScriptedUser*>& livingUsers() {
  static std::vector<ScriptedUser*> users;
  return users;
}
}  // namespace

ScriptedUser::ScriptedUser(FailureHandler onFailure) : onFailure_(std::move(onFailure)) {
  livingUsers().push_back(this);
  Application::shared().setIdleHandler([this](Window& top) { return onIdle(top); });
}

ScriptedUser::~ScriptedUser() {
  auto& users = livingUsers();
  users.erase(std::remove(users.begin(), users.end(), this), users.end());
  if (users.empty()) {
    Application::shared().setIdleHandler(nullptr);
  } else {
    ScriptedUser* latest = users.back();
    Application::shared().setIdleHandler([latest](Window& top) { return latest->onIdle(top); });
  }
}

void ScriptedUser::fail(const std::string& message) {
  failures_.push_back(message);
  if (onFailure_)
    onFailure_(message);
  else
    std::fprintf(stderr, "scripted user: %s\n", message.c_str());
}

ScriptedUser& ScriptedUser::add(std::string description, std::function<void(Window& top)> act) {
  Step step;
  step.description = std::move(description);
  step.act = std::move(act);
  steps_.push_back(std::move(step));
  return *this;
}

void ScriptedUser::dropStaleWaits() {
  Application& app = Application::shared();
  while (!steps_.empty() && steps_.front().waitUntil && !app.isSessionRunning(steps_.front().waitSession)) {
    steps_.pop_front();
  }
}

bool ScriptedUser::finished() {
  dropStaleWaits();
  return steps_.empty();
}

std::size_t ScriptedUser::pendingSteps() {
  dropStaleWaits();
  return steps_.size();
}

bool ScriptedUser::onIdle(Window& top) {
  dropStaleWaits();
  if (steps_.empty()) {
    fail("the script ran out while window " + quoted(top.name()) + " (" + quoted(top.title()) + ") waits");
    return false;
  }
  Step& step = steps_.front();
  if (step.waitSeconds >= 0) {
    Application& app = Application::shared();
    if (!step.waitUntil) {
      step.waitUntil = Clock::now() + step.waitSeconds;
      step.waitSession = app.currentSessionId();
    }
    double until = *step.waitUntil;
    auto next = RunLoop::current().nextFireDate(RunLoopMode::ModalPanel);
    if (next && *next < until) {
      Clock::advanceTo(*next);
    } else {
      Clock::advanceTo(until);
      steps_.pop_front();
    }
    return true;
  }
  Step taken = std::move(step);
  steps_.pop_front();
  taken.act(top);
  return true;
}

ScriptedUser& ScriptedUser::expectWindow(const std::string& name) {
  return add("expect window " + name, [this, name](Window& top) {
    if (top.name() != name) fail("expected window " + quoted(name) + " on top, found " + quoted(top.name()));
  });
}

ScriptedUser& ScriptedUser::expectText(const std::string& outlet, const std::string& text) {
  return add("expect text of " + outlet, [this, outlet, text](Window& top) {
    View* view = top.viewWithIdentifier(outlet);
    if (!view) return fail("window " + quoted(top.name()) + " has no control " + quoted(outlet));
    std::string shown = shownText(view);
    if (shown != text) fail(quoted(outlet) + " shows " + quoted(shown) + ", expected " + quoted(text));
  });
}

ScriptedUser& ScriptedUser::expectDisplay(const std::string& outlet, const std::string& value) {
  return add("expect the display " + outlet, [this, outlet, value](Window& top) {
    View* view = top.viewWithIdentifier(outlet);
    if (!view) return fail("window " + quoted(top.name()) + " has no control " + quoted(outlet));
    std::string shown = shownText(view);
    shown.erase(shown.find_last_not_of(' ') + 1);
    if (shown != value) fail(quoted(outlet) + " displays " + quoted(shown) + ", expected " + quoted(value));
  });
}

ScriptedUser& ScriptedUser::expectAlert(const std::string& informativeText, const std::string& messageText,
                                        std::optional<AlertStyle> style,
                                        std::optional<std::vector<std::string>> buttons) {
  return add("expect alert", [=](Window& top) {
    Alert* alert = Alert::forWindow(&top);
    if (!alert) return fail("expected an alert " + quoted(informativeText) + ", found window " + quoted(top.name()));
    if (alert->informativeText() != informativeText)
      fail("alert text is " + quoted(alert->informativeText()) + ", expected " + quoted(informativeText));
    if (alert->messageText() != messageText)
      fail("alert title is " + quoted(alert->messageText()) + ", expected " + quoted(messageText));
    if (style && alert->alertStyle() != *style)
      fail(std::string("alert style is ") + styleName(alert->alertStyle()) + ", expected " + styleName(*style));
    if (buttons && alert->buttonTitles() != *buttons) {
      std::string found;
      for (const auto& b : alert->buttonTitles()) found += quoted(b) + " ";
      fail("alert buttons are " + found + "(unexpected)");
    }
  });
}

ScriptedUser& ScriptedUser::inspect(std::function<void(Window& top)> look) { return add("inspect", std::move(look)); }

ScriptedUser& ScriptedUser::run(std::function<void()> action) {
  return add("run", [action = std::move(action)](Window&) { action(); });
}

ScriptedUser& ScriptedUser::click(const std::string& outlet) {
  return add("click " + outlet, [this, outlet](Window& top) {
    View* view = top.viewWithIdentifier(outlet);
    if (!view) return fail("window " + quoted(top.name()) + " has no control " + quoted(outlet) + " to click");
    if (view->isHidden()) return fail("cannot click hidden " + quoted(outlet));
    if (auto* control = dynamic_cast<Control*>(view); control && !control->isEnabled())
      return fail("cannot click disabled " + quoted(outlet));
    view->mouseDown(MouseEvent{});
  });
}

ScriptedUser::Step ScriptedUser::clickShowingStep(const std::string& text) {
  Step step;
  step.description = "click the button showing " + text;
  step.act = [this, text](Window& top) {
    for (const auto& view : top.views()) {
      auto* button = dynamic_cast<Button*>(view.get());
      if (button && !button->isHidden() && button->isEnabled() && button->displayedText() == text) {
        button->mouseDown(MouseEvent{});
        return;
      }
    }
    fail("window " + quoted(top.name()) + " has no usable button showing " + quoted(text));
  };
  return step;
}

ScriptedUser& ScriptedUser::clickShowing(const std::string& text) {
  steps_.push_back(clickShowingStep(text));
  return *this;
}

ScriptedUser& ScriptedUser::pressDigits(const std::string& digits) {
  for (char digit : digits) clickShowing(std::string(1, digit));
  return *this;
}

ScriptedUser& ScriptedUser::typeDigitsShownIn(const std::string& outlet) {
  return add("copy the digits shown in " + outlet, [this, outlet](Window& top) {
    View* view = top.viewWithIdentifier(outlet);
    if (!view) return fail("window " + quoted(top.name()) + " has no control " + quoted(outlet));
    const std::string shown = shownText(view);
    // One press per digit, each a step of its own taken next, so an alert a press opens is answered
    // by the steps after these, as with pressDigits.
    for (auto digit = shown.rbegin(); digit != shown.rend(); ++digit) {
      if (*digit >= '0' && *digit <= '9') steps_.push_front(clickShowingStep(std::string(1, *digit)));
    }
  });
}

ScriptedUser& ScriptedUser::choose(const std::string& outlet, int index) {
  return add("choose item of " + outlet, [this, outlet, index](Window& top) {
    auto* combo = dynamic_cast<ComboBox*>(top.viewWithIdentifier(outlet));
    if (!combo) return fail("window " + quoted(top.name()) + " has no combo box " + quoted(outlet));
    if (!combo->choose(index)) fail("cannot choose item " + std::to_string(index) + " of " + quoted(outlet));
  });
}

ScriptedUser& ScriptedUser::chooseItem(const std::string& outlet, const std::string& item) {
  return add("choose " + item + " in " + outlet, [this, outlet, item](Window& top) {
    auto* combo = dynamic_cast<ComboBox*>(top.viewWithIdentifier(outlet));
    if (!combo) return fail("window " + quoted(top.name()) + " has no combo box " + quoted(outlet));
    if (!combo->choose(combo->indexOfItemWithObjectValue(item)))
      fail("cannot choose " + quoted(item) + " in " + quoted(outlet));
  });
}

ScriptedUser& ScriptedUser::selectRow(const std::string& outlet, int row) {
  return add("select row of " + outlet, [this, outlet, row](Window& top) {
    auto* table = dynamic_cast<TableView*>(top.viewWithIdentifier(outlet));
    if (!table) return fail("window " + quoted(top.name()) + " has no table " + quoted(outlet));
    if (!table->clickRow(row)) fail("cannot select row " + std::to_string(row) + " of " + quoted(outlet));
  });
}

ScriptedUser& ScriptedUser::editCell(const std::string& outlet, int row, const std::string& column,
                                     const std::string& value) {
  return add("edit a cell of " + outlet, [=](Window& top) {
    auto* table = dynamic_cast<TableView*>(top.viewWithIdentifier(outlet));
    if (!table) return fail("window " + quoted(top.name()) + " has no table " + quoted(outlet));
    if (!table->editCell(row, column, value)) fail("cannot edit row " + std::to_string(row) + " of " + quoted(outlet));
  });
}

ScriptedUser& ScriptedUser::focus(const std::string& outlet) {
  return add("focus " + outlet, [this, outlet](Window& top) {
    View* view = top.viewWithIdentifier(outlet);
    if (!view) return fail("window " + quoted(top.name()) + " has no control " + quoted(outlet));
    if (!top.makeFirstResponder(view)) fail(quoted(outlet) + " does not take the focus");
  });
}

ScriptedUser& ScriptedUser::type(const std::string& text) {
  return add("type " + text, [text](Window& top) {
    std::size_t i = 0;
    while (i < text.size()) {
      // One key per UTF-8 character.
      std::size_t n = 1;
      while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) ++n;
      top.sendKeyEvent(KeyEvent::character(text.substr(i, n)));
      i += n;
    }
  });
}

ScriptedUser& ScriptedUser::pressKey(const KeyEvent& key) {
  return add("press a key", [key](Window& top) { top.sendKeyEvent(key); });
}

ScriptedUser& ScriptedUser::answerAlert(int button) {
  return add("answer alert", [this, button](Window& top) {
    Alert* alert = Alert::forWindow(&top);
    if (!alert) return fail("expected an alert to answer, found window " + quoted(top.name()));
    static const char* const kOutlets[] = {"defaultButton", "alternateButton", "otherButton"};
    auto* target =
        button >= 1 && button <= 3 ? dynamic_cast<Button*>(top.viewWithIdentifier(kOutlets[button - 1])) : nullptr;
    if (!target) return fail("the alert has no button " + std::to_string(button));
    target->performClick();
  });
}

ScriptedUser& ScriptedUser::closeWindow() {
  return add("close window", [this](Window& top) {
    if (!top.hasCloseBox()) return fail("window " + quoted(top.name()) + " has no close box");
    top.clickCloseBox();
  });
}

ScriptedUser& ScriptedUser::deactivateApp() {
  return add("switch away", [](Window&) { Application::shared().deactivate(); });
}

ScriptedUser& ScriptedUser::activateApp() {
  return add("switch back", [](Window&) { Application::shared().activate(); });
}

ScriptedUser& ScriptedUser::wait(double seconds) {
  Step step;
  step.description = "wait";
  step.waitSeconds = seconds > 0 ? seconds : 0;
  steps_.push_back(std::move(step));
  return *this;
}

ScriptedUser& ScriptedUser::savePng(const std::string& path) {
  return add("save " + path, [this, path](Window& top) {
    if (!top.renderToPng(path)) fail("cannot write " + quoted(path));
  });
}

namespace {

bool toInt(const std::string& text, int* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || v < -1000000 || v > 1000000) return false;
  *value = static_cast<int>(v);
  return true;
}

bool toSeconds(const std::string& text, double* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  double v = std::strtod(text.c_str(), &end);
  if (*end != '\0' || !(v >= 0) || v > 1e7) return false;
  *value = v;
  return true;
}

}  // namespace

ScriptedUser& ScriptedUser::saveScreenPng(const std::string& path) {
  return add("save the screen to " + path, [this, path](Window&) {
    if (!Application::shared().renderScreenToPng(path)) fail("cannot write " + quoted(path));
  });
}

bool ScriptedUser::addStep(const std::vector<std::string>& words, std::string* error) {
  auto refuse = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  if (words.empty()) return refuse("empty step");
  const std::string& verb = words[0];
  const std::size_t n = words.size() - 1;
  auto arg = [&](std::size_t i) -> const std::string& { return words[i + 1]; };
  auto wants = [&](std::size_t count) { return n == count; };
  int number = 0, row = 0;
  double seconds = 0;

  if (verb == "click" && wants(1))
    click(arg(0));
  else if (verb == "clickShowing" && wants(1))
    clickShowing(arg(0));
  else if (verb == "pressDigits" && wants(1)) {
    if (arg(0).empty() || arg(0).find_first_not_of("0123456789") != std::string::npos)
      return refuse("step \"pressDigits\" takes the digits 0-9 only");
    pressDigits(arg(0));
  } else if (verb == "typeDigitsShownIn" && wants(1))
    typeDigitsShownIn(arg(0));
  else if (verb == "expectDisplay" && wants(2))
    expectDisplay(arg(0), arg(1));
  else if (verb == "choose" && wants(2) && toInt(arg(1), &number))
    choose(arg(0), number);
  else if (verb == "chooseItem" && wants(2))
    chooseItem(arg(0), arg(1));
  else if (verb == "selectRow" && wants(2) && toInt(arg(1), &number))
    selectRow(arg(0), number);
  else if (verb == "editCell" && wants(4) && toInt(arg(1), &row))
    editCell(arg(0), row, arg(2), arg(3));
  else if (verb == "focus" && wants(1))
    focus(arg(0));
  else if (verb == "type" && wants(1))
    type(arg(0));
  else if (verb == "key" && wants(1)) {
    if (arg(0) == "backspace")
      pressKey(KeyEvent::backspace());
    else if (arg(0) == "enter")
      pressKey(KeyEvent::enter());
    else if (arg(0) == "escape")
      pressKey(KeyEvent::escape());
    else
      pressKey(KeyEvent::character(arg(0)));
  } else if (verb == "answerAlert" && wants(1) && toInt(arg(0), &number) && number >= 1 && number <= 3)
    answerAlert(number);
  else if (verb == "closeWindow" && wants(0))
    closeWindow();
  else if (verb == "deactivateApp" && wants(0))
    deactivateApp();
  else if (verb == "activateApp" && wants(0))
    activateApp();
  else if (verb == "wait" && wants(1) && toSeconds(arg(0), &seconds))
    wait(seconds);
  else if (verb == "savePng" && wants(1))
    savePng(arg(0));
  else if (verb == "saveScreenPng" && wants(1))
    saveScreenPng(arg(0));
  else if (verb == "expectWindow" && wants(1))
    expectWindow(arg(0));
  else if (verb == "expectText" && wants(2))
    expectText(arg(0), arg(1));
  else if (verb == "expectAlert" && (wants(2) || wants(3))) {
    std::optional<AlertStyle> style;
    if (n == 3) {
      if (arg(2) == "informational")
        style = AlertStyle::Informational;
      else if (arg(2) == "critical")
        style = AlertStyle::Critical;
      else if (arg(2) == "warning")
        style = AlertStyle::Warning;
      else
        return refuse("unknown alert style \"" + arg(2) + "\"");
    }
    expectAlert(arg(0), arg(1), style);
  } else {
    return refuse("cannot read the step \"" + verb + "\" with " + std::to_string(n) + " argument(s)");
  }
  return true;
}

}  // namespace appkit
