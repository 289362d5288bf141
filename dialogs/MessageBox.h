#pragma once

#include <string>

// The modal alert of the whole system. The title is the alert's message text and `text` its
// informative text; the only button is "確定", and type 3 adds "取消". Type 1 is informational, type 2
// critical, any other type the plain style. Returns 6 when "確定" ended the alert and 7 otherwise (the
// second button, or the alert's session ended by the dialog beneath it). A null text counts as empty.
int MessageBox(const char* text, const char* title, int type);
int MessageBox(const std::string& text, const std::string& title, int type);
