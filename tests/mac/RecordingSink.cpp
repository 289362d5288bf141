#include "RecordingSink.h"

#include <cstring>
#include <sstream>

namespace mac_test {

namespace {
std::string rect(const PF::Rect& r) {
  std::ostringstream s;
  s << r.top << "," << r.left << "," << r.bottom << "," << r.right;
  return s.str();
}
}  // namespace

// The most derived class first: several event classes derive from one another.
std::string describe(const PF::PluginEvent* e) {
  std::ostringstream s;
  if (auto m = dynamic_cast<const PF::MacEventCocoa*>(e)) {
    int type = 0;
    std::memcpy(&type, &m->msg.type, sizeof type);
    s << "cocoa " << type;
  } else if (auto b = dynamic_cast<const PF::MouseButtonEvent*>(e)) {
    const char* kind = dynamic_cast<const PF::MouseDoubleClickEvent*>(e) ? "double"
                       : dynamic_cast<const PF::MouseDownEvent*>(e)      ? "down"
                       : dynamic_cast<const PF::MouseUpEvent*>(e)        ? "up"
                                                                         : "button?";
    s << kind << " " << b->m_x << "," << b->m_y << " state " << b->m_state << " button " << b->m_Btn;
  } else if (auto m = dynamic_cast<const PF::MouseMoveEvent*>(e)) {
    const char* kind = dynamic_cast<const PF::MouseEnteredEvent*>(e)  ? "entered"
                       : dynamic_cast<const PF::MouseExitedEvent*>(e) ? "exited"
                                                                      : "move";
    s << kind << " " << m->m_x << "," << m->m_y << " state " << m->m_state;
  } else if (auto w = dynamic_cast<const PF::MouseScrollEvent*>(e)) {
    s << "scroll " << w->m_x << "," << w->m_y << " state " << w->m_state << " by " << w->m_dx << "," << w->m_dy;
  } else if (auto k = dynamic_cast<const PF::KeyEvent*>(e)) {
    s << (dynamic_cast<const PF::KeyDownEvent*>(e) ? "keydown " : "keyup ") << k->m_key << " os " << k->m_os_key
      << " mods " << std::hex << "0x" << k->m_modifiers;
  } else if (auto f = dynamic_cast<const PF::FocusChangedEvent*>(e)) {
    s << "focus " << (f->hasFocus() ? "in" : "out");
  } else if (auto t = dynamic_cast<const PF::TextEvent*>(e)) {
    s << "text \"" << t->text << "\"";
  } else if (auto d = dynamic_cast<const PF::CoreGraphicsDraw*>(e)) {
    s << "cgdraw bounds " << rect(d->bounds) << " clip " << rect(d->clip) << " context " << d->context;
  } else if (dynamic_cast<const PF::RefreshEvent*>(e)) {
    s << "refresh";
  } else if (dynamic_cast<const PF::ResizedEvent*>(e)) {
    s << "resized";
  } else if (dynamic_cast<const PF::ClipChangedEvent*>(e)) {
    s << "clip";
  } else if (dynamic_cast<const PF::ChangedEvent*>(e)) {
    s << "changed";
  } else if (auto t = dynamic_cast<const PF::TimerEvent*>(e)) {
    s << "timer " << t->timerId << " " << t->data;
  } else {
    s << "other";
  }
  return s.str();
}

}  // namespace mac_test
