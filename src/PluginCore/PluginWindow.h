#pragma once
// The plug-in's area in the page, as an event source. A platform binding derives its
// own windows from it.

#include "PluginEventSource.h"

namespace PF {

class PluginWindow : public PluginEventSource {
 public:
  ~PluginWindow() override {}
};

}  // namespace PF
