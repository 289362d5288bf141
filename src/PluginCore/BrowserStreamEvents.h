#pragma once
// The events a browser stream sends its observers, from the browser's acceptance of the request to the
// stream object's end. Each carries the stream it is about.

#include <cstddef>

#include "PluginEvents.h"

namespace PF {

class BrowserStream;

class StreamEvent : public PluginEvent {
 public:
  explicit StreamEvent(BrowserStream* stream) : stream(stream) {}
  BrowserStream* stream;
};

// The browser accepted the request.
class StreamCreatedEvent : public StreamEvent {
  using StreamEvent::StreamEvent;
};
// The response started.
class StreamOpenedEvent : public StreamEvent {
  using StreamEvent::StreamEvent;
};
// The response cannot be opened (for instance: seeking asked for, the server cannot seek).
class StreamFailedOpenEvent : public StreamEvent {
  using StreamEvent::StreamEvent;
};
// The stream object is going away.
class StreamDestroyedEvent : public StreamEvent {
  using StreamEvent::StreamEvent;
};

// A block of the body: `length` bytes that belong at `offset`; progress in percent, 0 when the length of
// the whole body is not known. The data is only valid during the event.
class StreamDataArrivedEvent : public StreamEvent {
 public:
  StreamDataArrivedEvent(BrowserStream* stream, const void* data, std::size_t length, std::size_t offset,
                         float progress)
      : StreamEvent(stream), data(data), length(length), offset(offset), progress(progress) {}
  const void* getData() const { return data; }
  std::size_t getLength() const { return length; }
  std::size_t getDataPosition() const { return offset; }
  float getProgress() const { return progress; }

  const void* data;
  std::size_t length;
  std::size_t offset;
  float progress;
};

// Sent once per stream: whether the whole body arrived.
class StreamCompletedEvent : public StreamEvent {
 public:
  StreamCompletedEvent(BrowserStream* stream, bool success) : StreamEvent(stream), success(success) {}
  bool success;
};

}  // namespace PF
