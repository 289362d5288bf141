#include "fake_browser.h"

#include <algorithm>

#include <chrono>

#include "DOMDocument.h"
#include "DOMWindow.h"

namespace pfhost_test {

namespace {
const char* const kHelperPrefix = "window.__PF_CALL_";
// Generous: only reached when a test is broken.
const std::chrono::seconds kSafetyLimit(20);
}  // namespace

std::string expectedDelegateScript(const std::string& number) {
  return "window.__PF_CALL_" + number +
         " = function(delay, f, args, fname) {   if (arguments.length == 3)       return setTimeout(function() "
         "{ f.apply(null, args); }, delay);   else       return setTimeout(function() { f[fname].apply(f, args); "
         "}, delay);};";
}

void FakePageObject::getMemberNames(std::vector<std::string>& names) const {
  names.clear();
  for (const auto& p : properties) names.push_back(p.first);
}

variant FakePageObject::GetProperty(const std::string& name) {
  const auto found = properties.find(name);
  return found == properties.end() ? variant() : found->second;
}

variant FakePageObject::GetProperty(int idx) {
  const auto found = indexed.find(idx);
  return found == indexed.end() ? variant() : found->second;
}

variant FakePageObject::Invoke(const std::string& name, const std::vector<variant>& args) {
  calls.push_back(PageCall{name, args});
  const auto method = methods.find(name);
  return method == methods.end() ? variant() : method->second(args);
}

FakeHostPtr FakeHost::make(bool withWindow) {
  FakeHostPtr host = boost::make_shared<FakeHost>();
  if (withWindow) host->replaceWindow();
  return host;
}

FakePageObjectPtr FakeHost::newPageObject() {
  return boost::make_shared<FakePageObject>(boost::static_pointer_cast<PF::BrowserHost>(shared_from_this()));
}

void FakeHost::replaceWindow() {
  window = newPageObject();
  FakePageObjectPtr location = newPageObject();
  location->properties["href"] = std::string("https://bank.example/atm/index.html");
  window->properties["location"] = variant(location);
}

boost::shared_ptr<PF::DOM::Document> FakeHost::getDOMDocument() { return boost::shared_ptr<PF::DOM::Document>(); }

boost::shared_ptr<PF::DOM::Window> FakeHost::getDOMWindow() { return PF::DOM::Window::create(window); }

boost::shared_ptr<PF::DOM::Element> FakeHost::getDOMElement() { return boost::shared_ptr<PF::DOM::Element>(); }

void FakeHost::evaluateJavaScript(const std::string& script) {
  evaluatedScripts.push_back(script);
  if (!window || script.compare(0, std::string(kHelperPrefix).size(), kHelperPrefix) != 0) return;
  const size_t numberStart = std::string(kHelperPrefix).size();
  const std::string number = script.substr(numberStart, script.find(' ') - numberStart);
  // The helper comes into being only from the exact one-line script.
  if (script != expectedDelegateScript(number)) return;

  FakePageObjectPtr helper = newPageObject();
  helper->methods[""] = [this](const std::vector<variant>& args) -> variant {
    const long delay = args.at(0).convert_cast<long>();
    const JSObjectPtr f = args.at(1).convert_cast<JSObjectPtr>();
    const std::vector<variant> list = args.at(2).convert_cast<std::vector<variant>>();
    const std::string member = args.size() == 3 ? std::string() : args.at(3).convert_cast<std::string>();
    return setTimeout(delay, [f, list, member] { f->Invoke(member, list); });
  };
  window->properties["__PF_CALL_" + number] = variant(JSObjectPtr(helper));
}

int FakeHost::setTimeout(long delay, std::function<void()> run) {
  const int id = m_nextTimer++;
  m_timers.push_back(Timer{m_now + delay, id, std::move(run)});
  return id;
}

void FakeHost::advance(long ms) {
  const long until = m_now + ms;
  while (true) {
    auto next = std::min_element(m_timers.begin(), m_timers.end(), [](const Timer& a, const Timer& b) {
      return a.due < b.due || (a.due == b.due && a.id < b.id);
    });
    if (next == m_timers.end() || next->due > until) break;
    Timer timer = *next;
    m_timers.erase(next);
    m_now = timer.due;
    timer.run();
  }
  m_now = until;
}

bool FakeHost::_scheduleAsyncCall(void (*func)(void*), void* userData) const {
  if (refuseScheduling) return false;
  std::lock_guard<std::mutex> lock(m_queueLock);
  m_queue.emplace_back(func, userData);
  m_queued.notify_all();
  return true;
}

size_t FakeHost::queuedCalls() {
  std::lock_guard<std::mutex> lock(m_queueLock);
  return m_queue.size();
}

size_t FakeHost::pump() {
  std::deque<std::pair<void (*)(void*), void*>> batch;
  {
    std::lock_guard<std::mutex> lock(m_queueLock);
    batch.swap(m_queue);
  }
  for (const auto& call : batch) call.first(call.second);
  return batch.size();
}

bool FakeHost::waitForQueued(size_t n) {
  std::unique_lock<std::mutex> lock(m_queueLock);
  return m_queued.wait_for(lock, kSafetyLimit, [&] { return m_queue.size() >= n; });
}

bool FakeHost::pumpUntil(const std::function<bool()>& done) {
  // The predicate may come true on another thread without anything being queued,
  // so the wait looks at it again every few milliseconds.
  const auto deadline = std::chrono::steady_clock::now() + kSafetyLimit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    {
      std::unique_lock<std::mutex> lock(m_queueLock);
      m_queued.wait_for(lock, std::chrono::milliseconds(5), [&] { return !m_queue.empty(); });
    }
    pump();
  }
  return true;
}

}  // namespace pfhost_test
