#include "DialogFrame.h"

#include "MessageBox.h"
#include "appkit/UserDefaults.h"
#include "appkit/WindowLevel.h"

const char* const DialogFrame::kKeyboardRefusal = "為避免交易資料遭竄改\n請使用畫面上的數字鍵盤";

DialogFrame::DialogFrame() {
  addAction("CloseWindow:", [this](appkit::View* sender) { CloseWindow(sender); });
}

DialogFrame::~DialogFrame() { stopCountdown(); }

bool DialogFrame::initWithWindowNibName(const std::string& nibName) {
  if (!appkit::WindowController::initWithWindowNibName(nibName)) return false;
  if (!window()) {
    // Without its window the dialog can collect nothing: never let the caller read it as confirmed.
    endDialog(kCancelled);
    return true;
  }
  presentWindow();
  return true;
}

bool DialogFrame::initWithWindow(std::unique_ptr<appkit::Window> window) {
  if (!appkit::WindowController::initWithWindow(std::move(window))) return false;
  if (isWindowLoaded()) presentWindow();
  returnValue = 0;
  return true;
}

void DialogFrame::presentWindow() {
  appkit::Window* w = isWindowLoaded() ? window() : nullptr;
  if (!w) return;
  w->center();
  w->setAutodisplay(true);
  w->setLevel(appkit::windowLevelForKey(appkit::kMaximumWindowLevelKey));
  w->makeKeyAndOrderFront();
  w->display();
}

void DialogFrame::windowDidResignMain(appkit::Window& window) {
  bool onTop = appkit::UserDefaults::standard().boolForKey("DefaultAlwaysOnTop");
  window.setLevel(appkit::windowLevelForKey(onTop ? appkit::kFloatingWindowLevelKey : appkit::kNormalWindowLevelKey));
}

void DialogFrame::windowModalSessionWasUnwound(appkit::Window& window) { endDialog(kCancelled); }

void DialogFrame::keyDown(const appkit::KeyEvent& event) {
  if (refusesPhysicalKeys() && !ended_) MessageBox(kKeyboardRefusal, "", 1);
}

void DialogFrame::updateTimer() {
  if (ended_) return;
  --Counter;
  if (Counter > 0) {
    tfTimer->setIntegerValue(static_cast<long>(Counter));
    return;
  }
  endDialog(kTimedOut);
}

void DialogFrame::CloseWindow(appkit::View* sender) { endDialog(kCancelled); }

void DialogFrame::startCountdown(std::int64_t seconds) {
  if (ended_) return;
  Counter = seconds;
  startCountdownTimer();
}

void DialogFrame::startCountdownTimer() {
  if (ended_) return;
  stopCountdown();
  CountDownTimer = appkit::Timer::scheduledTimer(
      1.0, [this](appkit::Timer&) { updateTimer(); }, true);
  appkit::RunLoop::current().addTimer(CountDownTimer, appkit::RunLoopMode::Default);
  appkit::RunLoop::current().addTimer(CountDownTimer, appkit::RunLoopMode::ModalPanel);
}

void DialogFrame::stopCountdown() {
  if (CountDownTimer) CountDownTimer->invalidate();
  CountDownTimer.reset();
}

void DialogFrame::endDialog(int code, ModalEnd how) {
  if (ended_) return;
  ended_ = true;
  stopCountdown();
  SetReturnCode(code);
  appkit::Window* w = isWindowLoaded() ? window() : nullptr;
  if (w) w->performClose();
  if (how == ModalEnd::Stop)
    appkit::app().stopModal(w);
  else
    appkit::app().abortModal(w);
  close();
}
