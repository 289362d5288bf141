#pragma once
// Native events as they travel inside the plug-in, from an event source to its sinks.
// Sinks tell them apart by their dynamic type.

#include <cstdint>
#include <string>

#include "npapi/NPCocoaEvent.h"

namespace PF {

struct Rect {
  std::int32_t top = 0;
  std::int32_t left = 0;
  std::int32_t bottom = 0;
  std::int32_t right = 0;
};

// Modifier state bits of mouse events.
enum ModifierState : unsigned int { ModifierShift = 1, ModifierControl = 2, ModifierAlt = 4 };

class PluginEvent {
 public:
  virtual ~PluginEvent() {}
};

class AttachedEvent : public PluginEvent {};
class DetachedEvent : public PluginEvent {};

class MouseEvent : public PluginEvent {};

class MouseMoveEvent : public MouseEvent {
 public:
  MouseMoveEvent(int x, int y, unsigned int state = 0) : m_x(x), m_y(y), m_state(state) {}
  int m_x;
  int m_y;
  unsigned int m_state;
};
class MouseEnteredEvent : public MouseMoveEvent {
  using MouseMoveEvent::MouseMoveEvent;
};
class MouseExitedEvent : public MouseMoveEvent {
  using MouseMoveEvent::MouseMoveEvent;
};

class MouseButtonEvent : public MouseEvent {
 public:
  enum Button { MouseButton_Left = 0, MouseButton_Middle = 1, MouseButton_Right = 2, MouseButton_None = 3 };
  MouseButtonEvent(int button, int x, int y, unsigned int state = 0) : m_x(x), m_y(y), m_state(state), m_Btn(button) {}
  int m_x;
  int m_y;
  unsigned int m_state;
  int m_Btn;
};
class MouseDownEvent : public MouseButtonEvent {
  using MouseButtonEvent::MouseButtonEvent;
};
class MouseUpEvent : public MouseButtonEvent {
  using MouseButtonEvent::MouseButtonEvent;
};
class MouseDoubleClickEvent : public MouseButtonEvent {
  using MouseButtonEvent::MouseButtonEvent;
};

class MouseScrollEvent : public MouseEvent {
 public:
  MouseScrollEvent(int x, int y, double dx, double dy, unsigned int state = 0)
      : m_x(x), m_y(y), m_state(state), m_dx(dx), m_dy(dy) {}
  int m_x;
  int m_y;
  unsigned int m_state;
  double m_dx;
  double m_dy;
};

class KeyEvent : public PluginEvent {
 public:
  KeyEvent(int key, unsigned int osKey, unsigned int modifiers = 0)
      : m_key(key), m_os_key(osKey), m_modifiers(modifiers) {}
  int m_key;
  unsigned int m_os_key;
  unsigned int m_modifiers;
};
class KeyDownEvent : public KeyEvent {
  using KeyEvent::KeyEvent;
};
class KeyUpEvent : public KeyEvent {
  using KeyEvent::KeyEvent;
};

class FocusChangedEvent : public PluginEvent {
 public:
  explicit FocusChangedEvent(bool hasFocus) : m_hasFocus(hasFocus) {}
  bool hasFocus() const { return m_hasFocus; }
  bool m_hasFocus;
};

class TextEvent : public PluginEvent {
 public:
  explicit TextEvent(const std::string& text) : text(text) {}
  std::string text;
};

// The browser's own Cocoa event record, offered to the sinks before it is translated.
class MacEventCocoa : public PluginEvent {
 public:
  explicit MacEventCocoa(const NPCocoaEvent& event) : msg(event) {}
  NPCocoaEvent msg;
};

// The classic event record of the Carbon model; the plug-in never agrees on that model, so none is sent.
struct CarbonEventRecord {
  std::uint16_t what = 0;
  std::uint32_t message = 0;
  std::uint32_t when = 0;
  std::int16_t whereV = 0;
  std::int16_t whereH = 0;
  std::uint16_t modifiers = 0;
};

class MacEventCarbon : public PluginEvent {
 public:
  explicit MacEventCarbon(const CarbonEventRecord& event) : msg(event) {}
  CarbonEventRecord msg;
};

class RefreshEvent : public PluginEvent {};

// A draw request of the Core Graphics model; the context is the platform's drawing
// context, passed through untouched.
class CoreGraphicsDraw : public RefreshEvent {
 public:
  CoreGraphicsDraw(void* context, const Rect& bounds, const Rect& clip)
      : bounds(bounds), context(context), clip(clip) {}
  Rect bounds;
  void* context;
  Rect clip;
};

class ResizedEvent : public PluginEvent {};
class ClipChangedEvent : public PluginEvent {};
class ChangedEvent : public PluginEvent {};

class TimerEvent : public PluginEvent {
 public:
  TimerEvent(int timerId, void* data) : timerId(timerId), data(data) {}
  int timerId;
  void* data;
};

}  // namespace PF
