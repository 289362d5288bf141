#pragma once
// Something that observes an event source. Always owned through a shared reference:
// attaching takes one from the sink itself.

#include <boost/enable_shared_from_this.hpp>
#include <boost/noncopyable.hpp>
#include <boost/shared_ptr.hpp>

namespace PF {

class PluginEvent;
class PluginEventSource;

class PluginEventSink : public boost::enable_shared_from_this<PluginEventSink>, boost::noncopyable {
 public:
  virtual ~PluginEventSink() {}
  // True when the event was handled and must be offered to nobody else.
  virtual bool HandleEvent(PluginEvent* event, PluginEventSource* source) = 0;
};

typedef boost::shared_ptr<PluginEventSink> PluginEventSinkPtr;

}  // namespace PF
