#include "testbrowser/PageScriptedUser.h"

#include <vector>

#include "npapi/HostLoop.h"

namespace testbrowser {

namespace {

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

void report(const std::string& message) { rvp_hostloop_user_report(("scripted user: " + message).c_str()); }

}  // namespace

bool addPageUserStep(appkit::ScriptedUser& user, const std::string& line, std::string& error) {
  std::vector<std::string> words = split(line);
  // The page's own names for two steps; everything else is the toolkit's step language.
  if (words[0] == "pressKey") words[0] = "key";
  if (words[0] == "digit") {
    if (words.size() != 2 || words[1].size() != 1 || words[1][0] < '0' || words[1][0] > '9') {
      error = "step \"digit\" takes one digit 0-9";
      return false;
    }
    words[0] = "clickShowing";
  }
  return user.addStep(words, &error);
}

PageScriptedUser::PageScriptedUser() : user_([](const std::string& message) { report(message); }) {
  takeQueuedSteps();
  rvp_hostloop_user_set_listener(&PageScriptedUser::stepQueued, this);
  rvp_hostloop_user_set_end_listener(&PageScriptedUser::pageEnded, this);
}

PageScriptedUser::~PageScriptedUser() {
  rvp_hostloop_user_set_listener(nullptr, nullptr);
  rvp_hostloop_user_set_end_listener(nullptr, nullptr);
  reportStepsNeverTaken();
}

void PageScriptedUser::reportStepsNeverTaken() {
  size_t left = user_.pendingSteps();
  if (left) report(std::to_string(left) + " step(s) never taken");
  user_.dropPendingSteps();
}

void PageScriptedUser::pageEnded(void* self) { static_cast<PageScriptedUser*>(self)->reportStepsNeverTaken(); }

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
