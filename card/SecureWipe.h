#pragma once
// The one wipe of secrets (PIN digits, keypad values, commands that carry a PIN): overwritten in a way
// the compiler cannot leave out as a dead store, because the buffer is about to be freed or reused.

#include <cstddef>
#include <string>
#include <utility>

namespace card {

// Overwrites n bytes.
void wipe(void* bytes, std::size_t n);

// Overwrites the whole buffer of a text, its spare capacity too (digits a shorter value or a backspace
// left behind), then gives the buffer back and leaves the text empty.
void wipe(std::string& text);

// A text that is wiped when it goes: a clear copy of a secret for as long as a step needs it.
struct WipedText {
  std::string text;
  // A short text moves by copy and leaves its characters behind in `t`: they are wiped too.
  explicit WipedText(std::string t) : text(std::move(t)) { wipe(t); }
  ~WipedText() { wipe(text); }
  WipedText(const WipedText&) = delete;
  WipedText& operator=(const WipedText&) = delete;
};

}  // namespace card
