// An observer of a plug-in window that writes down every event it is offered, as one line of text per
// event, and answers as the test tells it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <boost/make_shared.hpp>

#include "PluginEventSink.h"
#include "PluginEvents.h"

namespace mac_test {

std::string describe(const PF::PluginEvent* event);

class RecordingSink : public PF::PluginEventSink {
 public:
  bool HandleEvent(PF::PluginEvent* event, PF::PluginEventSource*) override {
    if (dynamic_cast<PF::AttachedEvent*>(event) || dynamic_cast<PF::DetachedEvent*>(event)) return false;
    events.push_back(describe(event));
    return answer ? answer(event) : false;
  }
  std::vector<std::string> events;
  std::function<bool(PF::PluginEvent*)> answer;
};

}  // namespace mac_test
