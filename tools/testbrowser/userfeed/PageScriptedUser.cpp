#include "testbrowser/PageScriptedUser.h"

#include <cstdlib>
#include <functional>
#include <map>
#include <vector>

#include "appkit/Events.h"
#include "npapi/HostLoop.h"

namespace testbrowser {

namespace {

using Args = std::vector<std::string>;

std::vector<std::string> split(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

bool toInt(const std::string& text, int& out) {
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end || v < -1000000 || v > 1000000) return false;
  out = static_cast<int>(v);
  return true;
}

bool toSeconds(const std::string& text, double& out) {
  char* end = nullptr;
  out = std::strtod(text.c_str(), &end);
  return !text.empty() && !*end && out >= 0 && out < 1e7;
}

struct Verb {
  size_t arguments;
  // Adds the step; false when an argument does not fit.
  std::function<bool(appkit::ScriptedUser&, const Args&)> add;
};

const std::map<std::string, Verb>& verbs() {
  using U = appkit::ScriptedUser;
  static const std::map<std::string, Verb> table = {
      {"expectWindow", {1, [](U& u, const Args& a) { return u.expectWindow(a[0]), true; }}},
      {"expectText", {2, [](U& u, const Args& a) { return u.expectText(a[0], a[1]), true; }}},
      {"expectAlert", {2, [](U& u, const Args& a) { return u.expectAlert(a[0], a[1]), true; }}},
      {"click", {1, [](U& u, const Args& a) { return u.click(a[0]), true; }}},
      {"clickShowing", {1, [](U& u, const Args& a) { return u.clickShowing(a[0]), true; }}},
      {"digit", {1, [](U& u, const Args& a) { return a[0].size() == 1 && a[0][0] >= '0' && a[0][0] <= '9' &&
                                                     (u.clickShowing(a[0]), true); }}},
      {"choose", {2, [](U& u, const Args& a) { int i; return toInt(a[1], i) && (u.choose(a[0], i), true); }}},
      {"chooseItem", {2, [](U& u, const Args& a) { return u.chooseItem(a[0], a[1]), true; }}},
      {"selectRow", {2, [](U& u, const Args& a) { int i; return toInt(a[1], i) && (u.selectRow(a[0], i), true); }}},
      {"editCell", {4, [](U& u, const Args& a) {
         int row;
         return toInt(a[1], row) && (u.editCell(a[0], row, a[2], a[3]), true);
       }}},
      {"focus", {1, [](U& u, const Args& a) { return u.focus(a[0]), true; }}},
      {"type", {1, [](U& u, const Args& a) { return u.type(a[0]), true; }}},
      {"pressKey", {1, [](U& u, const Args& a) {
         if (a[0] == "backspace") u.pressKey(appkit::KeyEvent::backspace());
         else if (a[0] == "enter") u.pressKey(appkit::KeyEvent::enter());
         else if (a[0] == "escape") u.pressKey(appkit::KeyEvent::escape());
         else if (!a[0].empty()) u.pressKey(appkit::KeyEvent::character(a[0]));
         else return false;
         return true;
       }}},
      {"answerAlert", {1, [](U& u, const Args& a) {
         int b;
         return toInt(a[0], b) && b >= 1 && b <= 3 && (u.answerAlert(b), true);
       }}},
      {"closeWindow", {0, [](U& u, const Args&) { return u.closeWindow(), true; }}},
      {"deactivateApp", {0, [](U& u, const Args&) { return u.deactivateApp(), true; }}},
      {"activateApp", {0, [](U& u, const Args&) { return u.activateApp(), true; }}},
      {"wait", {1, [](U& u, const Args& a) { double s; return toSeconds(a[0], s) && (u.wait(s), true); }}},
      {"savePng", {1, [](U& u, const Args& a) { return !a[0].empty() && (u.savePng(a[0]), true); }}},
  };
  return table;
}

void report(const std::string& message) { rvp_hostloop_user_report(("scripted user: " + message).c_str()); }

}  // namespace

bool addPageUserStep(appkit::ScriptedUser& user, const std::string& line, std::string& error) {
  std::vector<std::string> fields = split(line);
  auto found = verbs().find(fields[0]);
  if (found == verbs().end()) {
    error = "unknown step \"" + fields[0] + "\"";
    return false;
  }
  Args args(fields.begin() + 1, fields.end());
  if (args.size() != found->second.arguments) {
    error = "step \"" + fields[0] + "\" takes " + std::to_string(found->second.arguments) + " argument(s), got " +
            std::to_string(args.size());
    return false;
  }
  if (!found->second.add(user, args)) {
    error = "step \"" + fields[0] + "\" has an argument that does not fit";
    return false;
  }
  return true;
}

PageScriptedUser::PageScriptedUser() : user_([](const std::string& message) { report(message); }) {
  takeQueuedSteps();
  rvp_hostloop_user_set_listener(&PageScriptedUser::stepQueued, this);
}

PageScriptedUser::~PageScriptedUser() {
  rvp_hostloop_user_set_listener(nullptr, nullptr);
  size_t left = user_.pendingSteps();
  if (left) report(std::to_string(left) + " step(s) never taken");
}

size_t PageScriptedUser::takeQueuedSteps() {
  size_t taken = 0;
  std::string line;
  for (;;) {
    size_t needed = rvp_hostloop_user_take(nullptr, 0);
    if (needed == 0) return taken;
    line.assign(needed + 1, '\0');
    if (rvp_hostloop_user_take(&line[0], line.size()) != needed) continue;  // taken by someone else meanwhile
    line.resize(needed);
    ++taken;
    std::string error;
    if (!addPageUserStep(user_, line, error)) report(error);
  }
}

void PageScriptedUser::stepQueued(void* self) { static_cast<PageScriptedUser*>(self)->takeQueuedSteps(); }

}  // namespace testbrowser
