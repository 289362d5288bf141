#include "PluginEventMacCocoa.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "CocoaKeyCodes.h"
#include "FactoryBase.h"
#include "PlatformStringRef.h"
#include "PluginEvents.h"
#include "PluginWindowMac.h"

namespace PF {

namespace {

// A browser coordinate as an int: truncated, clamped to the int range, NaN as 0.
int toInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (value <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

// Shift, control and option of a mouse record as the plug-in's modifier state bits.
unsigned int mouseModifierState(std::uint32_t flags) { return (flags >> 17) & 0x7; }

// The browser's button numbers: 0 left, 1 right, 2 middle; anything else is no button the plug-in knows.
bool mouseButton(std::int32_t number, int& button) {
  switch (number) {
    case 0:
      button = MouseButtonEvent::MouseButton_Left;
      return true;
    case 1:
      button = MouseButtonEvent::MouseButton_Right;
      return true;
    case 2:
      button = MouseButtonEvent::MouseButton_Middle;
      return true;
    default:
      return false;
  }
}

struct ModifierKey {
  std::uint32_t flag;
  int keyCode;
  const char* pressed;
  const char* released;
};

const ModifierKey kModifierKeys[] = {
    {PluginEventMacCocoa::FlagShift, 56, "Shift pressed!", "Shift depressed!"},
    {PluginEventMacCocoa::FlagControl, 5, "Control pressed!", "Control depressed!"},
    {PluginEventMacCocoa::FlagOption, 74, "Option pressed!", "Option depressed!"},
    {PluginEventMacCocoa::FlagCommand, 73, "Command pressed!", "Command depressed!"},
};

// The system console of this platform.
void consoleLog(const char* text) { std::fprintf(stderr, "%s\n", text); }

}  // namespace

int16_t PluginEventMacCocoa::HandleEvent(void* event) {
  if (!event) return 0;
  boost::shared_ptr<PluginWindowMac> window = m_window.lock();
  if (!window) return 0;
  const NPCocoaEvent& record = *static_cast<const NPCocoaEvent*>(event);
  MacEventCocoa raw(record);
  if (window->SendEvent(&raw)) return 1;
  // Read the type as a plain number: a browser may send one the enumeration does not list.
  std::int32_t type = 0;
  std::memcpy(&type, &record.type, sizeof type);
  return translate(window, record, type);
}

int16_t PluginEventMacCocoa::translate(const boost::shared_ptr<PluginWindowMac>& window, const NPCocoaEvent& record,
                                       int type) {
  auto send = [&window](PluginEvent&& evt) -> int16_t { return window->SendEvent(&evt) ? 1 : 0; };

  const bool mouse =
      (type >= NPCocoaEventMouseDown && type <= NPCocoaEventMouseDragged) || type == NPCocoaEventScrollWheel;
  const int x = mouse ? toInt(record.data.mouse.pluginX) : 0;
  const int y = mouse ? toInt(record.data.mouse.pluginY) : 0;
  unsigned int state = 0;
  int button = MouseButtonEvent::MouseButton_None;
  if (type == NPCocoaEventMouseDown || type == NPCocoaEventMouseUp || type == NPCocoaEventMouseMoved ||
      type == NPCocoaEventScrollWheel) {
    state = mouseModifierState(record.data.mouse.modifierFlags);
    if (!mouseButton(record.data.mouse.buttonNumber, button)) return 0;
  }

  switch (type) {
    case NPCocoaEventDrawRect: {
      if (window->getDrawingModel() != PluginWindowMac::DrawingModelCoreGraphics) return send(RefreshEvent());
      const auto& d = record.data.draw;
      Rect clip;
      clip.top = toInt(d.y);
      clip.left = toInt(d.x);
      clip.bottom = toInt(d.y + d.height);
      clip.right = toInt(d.x + d.width);
      return send(CoreGraphicsDraw(d.context, window->getWindowPosition(), clip));
    }
    case NPCocoaEventMouseDown:
      if (record.data.mouse.clickCount == 2) return send(MouseDoubleClickEvent(button, x, y, state));
      return send(MouseDownEvent(button, x, y, 0));
    case NPCocoaEventMouseUp:
      return send(MouseUpEvent(button, x, y, state));
    case NPCocoaEventMouseMoved:
      return send(MouseMoveEvent(x, y, state));
    case NPCocoaEventMouseEntered:
      return send(MouseEnteredEvent(x, y, 0));
    case NPCocoaEventMouseExited:
      return send(MouseExitedEvent(x, y, 0));
    case NPCocoaEventMouseDragged:
      return send(MouseMoveEvent(x, y, 0));
    case NPCocoaEventKeyDown:
    case NPCocoaEventKeyUp: {
      const PlatformStringRef characters(record.data.key.charactersIgnoringModifiers);
      if (characters.isEmpty()) return 0;
      const int key = CocoaKeyCodeToPFKeyCode(record.data.key.keyCode);
      const unsigned int osKey = characters.firstCharacter();
      const unsigned int modifiers = record.data.key.modifierFlags;
      if (type == NPCocoaEventKeyDown) return send(KeyDownEvent(key, osKey, modifiers));
      return send(KeyUpEvent(key, osKey, modifiers));
    }
    case NPCocoaEventFlagsChanged:
      return ProcessModifiers(record.data.key.modifierFlags);
    case NPCocoaEventFocusChanged:
      return send(FocusChangedEvent(record.data.focus.hasFocus != 0));
    case NPCocoaEventScrollWheel:
      return send(MouseScrollEvent(x, y, record.data.mouse.deltaX, record.data.mouse.deltaY, state));
    case NPCocoaEventTextInput: {
      const PlatformStringRef text(record.data.text.text);
      if (text.isNull()) return 0;
      return send(TextEvent(text.utf8()));
    }
    default:  // window focus, and types this plug-in does not know
      return 0;
  }
}

int16_t PluginEventMacCocoa::ProcessModifiers(std::uint32_t modifierFlags) {
  const std::uint32_t before = m_lastModifiers;
  m_lastModifiers = modifierFlags;
  boost::shared_ptr<PluginWindowMac> window = m_window.lock();
  for (const ModifierKey& key : kModifierKeys) {
    const bool now = (modifierFlags & key.flag) != 0;
    if (now == ((before & key.flag) != 0)) continue;
    consoleLog(now ? key.pressed : key.released);
    if (!window) return 0;
    if (now) {
      KeyDownEvent evt(key.keyCode, key.flag, 0);
      return window->SendEvent(&evt) ? 1 : 0;
    }
    KeyUpEvent evt(key.keyCode, key.flag, 0);
    return window->SendEvent(&evt) ? 1 : 0;
  }
  return 0;
}

PluginEventMac* createPluginEventMacCocoa() { return new PluginEventMacCocoa(); }

PluginEventMac* createPluginEventMacCarbon() { return nullptr; }

}  // namespace PF
