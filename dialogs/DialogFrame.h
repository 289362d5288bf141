#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "appkit/Application.h"
#include "appkit/Controls.h"
#include "appkit/RunLoop.h"
#include "appkit/WindowController.h"

// The shared base of every dialog: a window controller whose window comes from the layout named after
// the dialog class, shown centred at the topmost level; a result code for the caller; a one-second
// countdown that shows the seconds left in `tfTimer` and ends the dialog with 9950 when it runs out;
// and one ending sequence for every path that ends a dialog.
//
// Ending is final: the first ending stores its code and closes the window; any later ending, tick or
// countdown start does nothing. Ending also ends the dialog's own modal session and whatever session
// runs above it (an alert the dialog opened), never a session beneath it.
class DialogFrame : public appkit::WindowController {
 public:
  // Result codes every caller knows.
  static constexpr int kConfirmed = 0;
  static constexpr int kCancelled = 2;
  static constexpr int kTimedOut = 9950;
  // What a dialog says when a key is typed on the physical keyboard.
  static const char* const kKeyboardRefusal;

  DialogFrame();
  ~DialogFrame() override;

  // Loads the window (windowDidLoad runs inside), centres it, turns autodisplay on, lifts it to the
  // maximum level, makes it key and front and displays it. A dialog whose layout is missing counts as
  // cancelled.
  bool initWithWindowNibName(const std::string& nibName) override;
  // Sets the defaults (result code 0); subclasses set theirs after calling this.
  bool initWithWindow(std::unique_ptr<appkit::Window> window) override;

  // Floating level when the user default "DefaultAlwaysOnTop" is set, normal level otherwise.
  void windowDidResignMain(appkit::Window& window) override;
  // A dialog whose session was cut short (by the end of a dialog beneath it, or given up because nobody
  // answered) was not confirmed: it ends as cancelled (2), so its caller never reads it as confirmed.
  void windowModalSessionWasUnwound(appkit::Window& window) override;
  // Refuses the physical keyboard with a message when the dialog says so (refusesPhysicalKeys).
  void keyDown(const appkit::KeyEvent& event) override;

  // One tick of the countdown: one second less; above zero it is shown, at zero the dialog ends with
  // 9950 (so the label never shows 0).
  virtual void updateTimer();
  // The Cancel action: ends the dialog with 2.
  void CloseWindow(appkit::View* sender);

  void SetReturnCode(int code) { returnValue = code; }
  int GetReturnCode() const { return returnValue; }
  void SetCounter(int seconds) { Counter = seconds; }
  int GetCounter() const { return static_cast<int>(Counter); }
  bool hasEnded() const { return ended_; }

 protected:
  enum class ModalEnd { Abort, Stop };

  // Sets the countdown and starts its timer.
  void startCountdown(std::int64_t seconds);
  // Starts the repeating one-second timer, registered for the default and the modal-panel mode so it
  // fires under the dialog's own session and under any alert above it. A running one is replaced.
  void startCountdownTimer();
  void stopCountdown();
  // The ending sequence: stop the countdown, store the code, close the window, end the dialog's modal
  // session (abort, or stop for the dialogs that stop theirs) and close the controller.
  void endDialog(int code, ModalEnd how = ModalEnd::Abort);

  // The keypad dialogs answer true: typed keys are refused with kKeyboardRefusal.
  virtual bool refusesPhysicalKeys() const { return false; }

  // The frame's presentation of a loaded window: centred, autodisplay, topmost level, key and front,
  // displayed. Dialogs that present themselves differently override it.
  virtual void presentWindow();

  int returnValue = 0;
  std::int64_t Counter = 0;
  std::shared_ptr<appkit::Timer> CountDownTimer;
  // The countdown label; a dialog without one simply shows nothing.
  appkit::Outlet<appkit::TextField> tfTimer{this, "tfTimer", appkit::OutletBase::Need::Optional};

 private:
  bool ended_ = false;
};
