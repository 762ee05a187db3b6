#include "upnp/event_subscription.h"

namespace upnp {

Hresult EventSubscription::Advise(EventSubscriber& subscriber) {
  sink_.reset();
  std::unique_ptr<EventSinkReference> sink;
  const Hresult hr = subscriber.QueryEventSink(&sink);
  if (Failed(hr) || sink == nullptr) {
    debug_.Write("COmvoService: Query Interface failed.Could not get pointer to IUPnPEventSink\n");
    return Failed(hr) ? hr : kENoInterface;
  }
  sink_ = std::move(sink);
  return kSOk;
}

Hresult EventSubscription::Unadvise() {
  sink_.reset();
  return kSOk;
}

}  // namespace upnp
