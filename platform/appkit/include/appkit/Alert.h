#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "appkit/Window.h"

namespace appkit {

enum class AlertStyle { Warning, Informational, Critical };

// Which button ended an alert.
enum AlertReturn : long {
  kAlertDefaultReturn = 1,
  kAlertAlternateReturn = 0,
  kAlertOtherReturn = -1,
  kAlertErrorReturn = -2,  // ended without a button (its session was unwound)
};

// A modal alert: a message text (in bold), an informative text, and up to three buttons, the default
// one rightmost. Texts are shown as they are. Its window ("Alert") has the outlets "messageText",
// "informativeText", "defaultButton", "alternateButton" and "otherButton".
class Alert : public WindowDelegate {
 public:
  // A missing default title becomes "OK"; missing alternate and other buttons are left out.
  static std::unique_ptr<Alert> alertWithMessageText(const std::string& messageText,
                                                     const std::optional<std::string>& defaultButton,
                                                     const std::optional<std::string>& alternateButton,
                                                     const std::optional<std::string>& otherButton,
                                                     const std::string& informativeText);

  Alert(std::string messageText, std::string informativeText, std::vector<std::string> buttonTitles);

  AlertStyle alertStyle() const { return style_; }
  void setAlertStyle(AlertStyle style) { style_ = style; }
  const std::string& messageText() const { return message_; }
  const std::string& informativeText() const { return informative_; }
  const std::vector<std::string>& buttonTitles() const { return buttons_; }

  // Shows the alert in its own modal session until a button ends it.
  long runModal();
  // The alert's window (made on first use).
  Window* window();

  // The alert whose window this is, or nullptr for any other window.
  static Alert* forWindow(const Window* window);

 private:
  void buildWindow();

  std::string message_;
  std::string informative_;
  std::vector<std::string> buttons_;
  AlertStyle style_ = AlertStyle::Warning;
  std::unique_ptr<Window> window_;
  long result_ = kAlertErrorReturn;
};

}  // namespace appkit
