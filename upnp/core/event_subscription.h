// The service's one event subscriber. No operation ever calls the sink: the service sends
// no state-change events.
#pragma once
#include <memory>

#include "platform/debug_output.h"
#include "platform/hresult.h"

namespace upnp {

// An IUPnPEventSink reference; destroying it releases the sink.
class EventSinkReference {
 public:
  virtual ~EventSinkReference() = default;
};

// The object passed to Advise, before it is known to be an event sink.
class EventSubscriber {
 public:
  virtual ~EventSubscriber() = default;
  virtual platform::HResult QueryEventSink(std::unique_ptr<EventSinkReference>* sink) = 0;
};

class EventSubscription {
 public:
  explicit EventSubscription(platform::DebugOutput& debug) : debug_(debug) {}

  // Holds one sink at a time: an earlier sink is released before the new subscriber is
  // queried, so a failed Advise leaves no sink.
  platform::HResult Advise(EventSubscriber& subscriber);
  // Releases the held sink, if any, whoever the subscriber is.
  platform::HResult Unadvise();
  bool HasSink() const { return sink_ != nullptr; }

 private:
  platform::DebugOutput& debug_;
  std::unique_ptr<EventSinkReference> sink_;
};

}  // namespace upnp
