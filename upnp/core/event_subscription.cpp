#include "upnp/core/event_subscription.h"

namespace upnp {

platform::HResult EventSubscription::Advise(EventSubscriber& subscriber) {
  sink_.reset();
  std::unique_ptr<EventSinkReference> sink;
  const platform::HResult hr = subscriber.QueryEventSink(&sink);
  if (platform::Failed(hr) || sink == nullptr) {
    debug_.Write("COmvoService: Query Interface failed.Could not get pointer to IUPnPEventSink\n");
    return platform::Failed(hr) ? hr : platform::kENoInterface;
  }
  sink_ = std::move(sink);
  return platform::kSOk;
}

platform::HResult EventSubscription::Unadvise() {
  sink_.reset();
  return platform::kSOk;
}

}  // namespace upnp
