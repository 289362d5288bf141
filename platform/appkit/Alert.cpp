#include "appkit/Alert.h"

#include <algorithm>

#include "Chrome.h"
#include "appkit/Application.h"
#include "appkit/Controls.h"
#include "appkit/WindowLevel.h"
#include "graphics/BezierPath.h"
#include "graphics/Text.h"

namespace appkit {
namespace {

constexpr double kWidth = 440;
constexpr double kMargin = 20;
constexpr double kIconSize = 48;
constexpr double kTextLeft = kMargin + kIconSize + 16;
constexpr double kTextWidth = kWidth - kTextLeft - kMargin;
constexpr double kButtonHeight = 28;

// The picture beside the texts tells the style apart: an "i" in a blue disc for information, a "!" in
// a red triangle for critical alerts and in a yellow one otherwise.
void drawIcon(AlertStyle style, const Rect& bounds) {
  graphics::TextStyle mark;
  mark.font = graphics::Font::boldSystem(28);
  mark.alignment = graphics::TextAlignment::Center;
  mark.color = graphics::Color::whiteColor();
  if (style == AlertStyle::Informational) {
    chrome::roundedBox(bounds, bounds.width() / 2, graphics::Color::rgb(0.20, 0.45, 0.85),
                       graphics::Color::rgb(0.15, 0.35, 0.7));
    graphics::drawStringInRect("i", bounds, mark);
    return;
  }
  graphics::Color fill =
      style == AlertStyle::Critical ? graphics::Color::rgb(0.85, 0.15, 0.12) : graphics::Color::rgb(0.98, 0.78, 0.10);
  fill.set();
  graphics::BezierPath triangle;
  triangle.moveToPoint({bounds.minX() + bounds.width() / 2, bounds.minY() + 2});
  triangle.lineToPoint({bounds.maxX() - 1, bounds.maxY() - 2});
  triangle.lineToPoint({bounds.minX() + 1, bounds.maxY() - 2});
  triangle.closePath();
  triangle.fill();
  mark.color = style == AlertStyle::Critical ? graphics::Color::whiteColor() : graphics::Color::blackColor();
  graphics::drawStringInRect("!", Rect::make(bounds.minX(), bounds.minY() + 8, bounds.width(), bounds.height() - 8),
                             mark);
}

}  // namespace

std::unique_ptr<Alert> Alert::alertWithMessageText(const std::string& messageText,
                                                   const std::optional<std::string>& defaultButton,
                                                   const std::optional<std::string>& alternateButton,
                                                   const std::optional<std::string>& otherButton,
                                                   const std::string& informativeText) {
  std::vector<std::string> buttons{defaultButton.value_or("OK")};
  if (alternateButton) buttons.push_back(*alternateButton);
  if (otherButton) buttons.push_back(*otherButton);
  return std::make_unique<Alert>(messageText, informativeText, std::move(buttons));
}

Alert::Alert(std::string messageText, std::string informativeText, std::vector<std::string> buttonTitles)
    : message_(std::move(messageText)), informative_(std::move(informativeText)), buttons_(std::move(buttonTitles)) {
  if (buttons_.empty()) buttons_.push_back("OK");
  if (buttons_.size() > 3) buttons_.resize(3);
}

Alert* Alert::forWindow(const Window* window) { return window ? dynamic_cast<Alert*>(window->delegate()) : nullptr; }

Window* Alert::window() {
  if (!window_) buildWindow();
  return window_.get();
}

void Alert::buildWindow() {
  graphics::TextStyle messageStyle;
  messageStyle.font = graphics::Font::boldSystem(14);
  messageStyle.wrapWidth = kTextWidth - 6;
  graphics::TextStyle infoStyle;
  infoStyle.font = graphics::Font::system(13);
  infoStyle.wrapWidth = kTextWidth - 6;
  double messageHeight = message_.empty() ? 0 : graphics::sizeOfString(message_, messageStyle).height + 4;
  double infoHeight = informative_.empty() ? 0 : graphics::sizeOfString(informative_, infoStyle).height + 4;
  double textHeight = messageHeight + (messageHeight > 0 && infoHeight > 0 ? 8 : 0) + infoHeight;
  double bodyHeight = std::max(kIconSize, textHeight);
  double height = kMargin + bodyHeight + 20 + kButtonHeight + kMargin;

  window_ = std::make_unique<Window>("Alert", "", Size{kWidth, height});
  window_->setCanBecomeMainWindow(false);
  window_->setDelegate(this);
  window_->setLevel(windowLevelForKey(kMaximumWindowLevelKey));

  auto icon = std::make_unique<ImageView>();
  icon->setFrame(Rect::make(kMargin, kMargin, kIconSize, kIconSize));
  icon->setPicture([this](const Rect& bounds) { drawIcon(style_, bounds); });
  window_->addView(std::move(icon), "icon");

  double y = kMargin;
  auto message = std::make_unique<TextField>();
  message->setFrame(Rect::make(kTextLeft, y, kTextWidth, messageHeight));
  message->setFont(messageStyle.font);
  message->setStringValue(message_);
  message->setHidden(message_.empty());
  window_->addView(std::move(message), "messageText");
  if (messageHeight > 0) y += messageHeight + 8;
  auto info = std::make_unique<TextField>();
  info->setFrame(Rect::make(kTextLeft, y, kTextWidth, infoHeight));
  info->setFont(infoStyle.font);
  info->setStringValue(informative_);
  info->setHidden(informative_.empty());
  window_->addView(std::move(info), "informativeText");

  static const char* const kOutlets[] = {"defaultButton", "alternateButton", "otherButton"};
  static const long kReturns[] = {kAlertDefaultReturn, kAlertAlternateReturn, kAlertOtherReturn};
  double right = kWidth - kMargin;
  graphics::TextStyle buttonStyle;
  buttonStyle.font = graphics::Font::system(13);
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    double width = std::max(84.0, graphics::sizeOfString(buttons_[i], buttonStyle).width + 32);
    auto button = std::make_unique<Button>();
    button->setFrame(Rect::make(right - width, height - kMargin - kButtonHeight, width, kButtonHeight));
    button->setTitle(buttons_[i]);
    long code = kReturns[i];
    button->setAction([this, code](View*) {
      result_ = code;
      Application::shared().stopModal(window_.get());
    });
    window_->addView(std::move(button), kOutlets[i]);
    right -= width + 12;
  }
}

long Alert::runModal() {
  Window* w = window();
  result_ = kAlertErrorReturn;
  w->center();
  Application::shared().runModalForWindow(w);
  w->orderOut();
  return result_;
}

}  // namespace appkit
