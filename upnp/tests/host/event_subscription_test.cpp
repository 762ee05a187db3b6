#include "upnp/core/event_subscription.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/sim/sim_debug_output.h"
#include "upnp/core/lock_count.h"
#include "upnp/core/service_members.h"

namespace upnp {
namespace {

class CountedSink : public EventSinkReference {
 public:
  explicit CountedSink(int& released) : released_(released) {}
  ~CountedSink() override { ++released_; }

 private:
  int& released_;
};

class FakeSubscriber : public EventSubscriber {
 public:
  explicit FakeSubscriber(bool is_sink) : is_sink_(is_sink) {}
  platform::HResult QueryEventSink(std::unique_ptr<EventSinkReference>* sink) override {
    ++queries;
    if (!is_sink_) return platform::kENoInterface;
    *sink = std::make_unique<CountedSink>(released);
    return platform::kSOk;
  }
  int queries = 0;
  int released = 0;

 private:
  bool is_sink_;
};

const char kQueryFailed[] =
    "COmvoService: Query Interface failed.Could not get pointer to IUPnPEventSink\n";

TEST(EventSubscription, SinkIsHeldUntilUnadviseAndReleasedOnce) {
  platform::sim::RecordingDebugOutput debug;
  EventSubscription subscription(debug);
  FakeSubscriber sink(true);
  EXPECT_EQ(subscription.Advise(sink), platform::kSOk);
  EXPECT_TRUE(subscription.HasSink());
  EXPECT_EQ(sink.released, 0);
  EXPECT_EQ(subscription.Unadvise(), platform::kSOk);
  EXPECT_EQ(sink.released, 1);
  EXPECT_EQ(subscription.Unadvise(), platform::kSOk);
  EXPECT_EQ(sink.released, 1);
  EXPECT_TRUE(debug.Lines().empty());
}

TEST(EventSubscription, NonSinkIsRefusedWithItsLine) {
  platform::sim::RecordingDebugOutput debug;
  EventSubscription subscription(debug);
  FakeSubscriber other(false);
  EXPECT_EQ(subscription.Advise(other), platform::kENoInterface);
  EXPECT_FALSE(subscription.HasSink());
  EXPECT_THAT(debug.Lines(), ::testing::ElementsAre(kQueryFailed));
}

TEST(EventSubscription, SecondAdviseReleasesTheEarlierSink) {
  platform::sim::RecordingDebugOutput debug;
  EventSubscription subscription(debug);
  FakeSubscriber first(true);
  FakeSubscriber second(true);
  ASSERT_EQ(subscription.Advise(first), platform::kSOk);
  ASSERT_EQ(subscription.Advise(second), platform::kSOk);
  EXPECT_EQ(first.released, 1);
  EXPECT_EQ(second.released, 0);
  FakeSubscriber other(false);
  EXPECT_EQ(subscription.Advise(other), platform::kENoInterface);
  EXPECT_EQ(second.released, 1);
  EXPECT_FALSE(subscription.HasSink());
}

TEST(EventSubscription, DestructionReleasesTheHeldSinkOnce) {
  platform::sim::RecordingDebugOutput debug;
  FakeSubscriber sink(true);
  {
    EventSubscription subscription(debug);
    ASSERT_EQ(subscription.Advise(sink), platform::kSOk);
  }
  EXPECT_EQ(sink.released, 1);
}

TEST(ServiceMembers, PlaceholdersAnswerNotImplemented) {
  int16_t value = 0x1234;
  EXPECT_EQ(ReadVarNull(nullptr), platform::kEPointer);
  EXPECT_EQ(ReadVarNull(&value), platform::kENotImpl);
  EXPECT_EQ(value, 0x1234);
  EXPECT_EQ(SetNull(-1), platform::kENotImpl);
  EXPECT_EQ(SetNull(0), platform::kENotImpl);
}

TEST(LockCount, UnloadableOnlyAtZero) {
  LockCount locks;
  EXPECT_EQ(locks.CanUnloadNow(), platform::kSOk);
  locks.Lock();
  locks.Lock();
  locks.Unlock();
  EXPECT_EQ(locks.CanUnloadNow(), platform::kSFalse);
  locks.Unlock();
  EXPECT_EQ(locks.CanUnloadNow(), platform::kSOk);
}

}  // namespace
}  // namespace upnp
