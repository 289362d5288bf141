#pragma once
// Page texts that may be secrets (a PIN set on a property) are overwritten before their buffers are
// freed, so no copy the framework made of them outlives the call.

#include <string>

namespace PF {

class variant;

// Overwrites the whole buffer of a text, spare capacity included, in a way the compiler cannot leave out,
// then gives the buffer back and leaves the text empty.
void wipe_text(std::string& text);
// The text a variant holds, likewise; a variant holding anything else stays as it is.
void wipe_text(variant& value);
// Other values hold no text.
template <class T>
void wipe_text(T&) {}

// Wipes a value's text when the scope ends, whichever way it ends.
template <class T>
struct wipe_text_at_exit {
  T& value;
  ~wipe_text_at_exit() { wipe_text(value); }
};

}  // namespace PF
