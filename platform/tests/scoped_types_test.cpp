// The owners the Windows adapters build on, with fake handles and objects so each close and
// release is counted.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/com_ptr.h"
#include "platform/growing_buffer.h"
#include "platform/scoped_handle.h"

namespace {

std::vector<int> closed;

// Like a Windows handle type with two "none" values.
struct FakeTraits {
  using Handle = int;
  static Handle Invalid() { return 0; }
  static bool IsValid(Handle h) { return h != 0 && h != -1; }
  static void Close(Handle h) { closed.push_back(h); }
};
using FakeHandle = platform::ScopedHandle<FakeTraits>;

class ScopedHandleTest : public testing::Test {
 protected:
  void SetUp() override { closed.clear(); }
};

TEST_F(ScopedHandleTest, ClosesEachValidHandleExactlyOnce) {
  {
    FakeHandle a(7);
    FakeHandle b(std::move(a));
    EXPECT_FALSE(a.valid());
    FakeHandle c(8);
    c = std::move(b);
    EXPECT_EQ(closed, std::vector<int>{8}) << "assignment closes what was held";
    FakeHandle& same = c;  // through a reference, as self-move happens in real code
    c = std::move(same);
    EXPECT_EQ(c.get(), 7);
    FakeHandle none(-1);
    EXPECT_FALSE(none);
  }
  EXPECT_EQ(closed, (std::vector<int>{8, 7})) << "no close for the empty and invalid owners";
}

TEST_F(ScopedHandleTest, PutClosesFirstAndReleaseGivesUp) {
  FakeHandle handle(3);
  *handle.put() = 4;
  EXPECT_EQ(closed, std::vector<int>{3});
  EXPECT_EQ(handle.release(), 4);
  handle.reset(5);
  handle.reset();
  EXPECT_EQ(closed, (std::vector<int>{3, 5}));
}

struct Counted {
  int references = 1;
  int queried = 0;
  void AddRef() { ++references; }
  void Release() { --references; }
  int QueryInterface(int iid, void** out) {
    ++queried;
    if (iid != 42) {
      *out = nullptr;
      return -1;
    }
    AddRef();
    *out = this;
    return 0;
  }
};

TEST(ComPtr, BalancesReferences) {
  Counted object;
  {
    auto owner = platform::ComPtr<Counted>::Attach(&object);
    EXPECT_EQ(object.references, 1) << "attaching takes over the caller's reference";
    platform::ComPtr<Counted> copy = owner;
    EXPECT_EQ(object.references, 2);
    platform::ComPtr<Counted> moved = std::move(copy);
    EXPECT_EQ(object.references, 2);
    EXPECT_FALSE(copy);
    platform::ComPtr<Counted> shared(&object);
    EXPECT_EQ(object.references, 3);
    shared = nullptr;
    EXPECT_EQ(object.references, 2);
    Counted* detached = moved.Detach();
    EXPECT_EQ(detached, &object);
    EXPECT_EQ(object.references, 2) << "detaching hands the reference on";
    detached->Release();
  }
  EXPECT_EQ(object.references, 0);
}

TEST(ComPtr, AsQueriesIntoAFreshOwner) {
  Counted object;
  auto owner = platform::ComPtr<Counted>::Attach(&object);
  platform::ComPtr<Counted> other(&object);
  EXPECT_EQ(object.references, 2);
  EXPECT_EQ(owner.As(42, &other), 0);
  EXPECT_EQ(object.references, 2) << "the reference held before is released";
  EXPECT_NE(owner.As(7, &other), 0);
  EXPECT_FALSE(other);
  EXPECT_EQ(object.references, 1);
}

// A call that needs `needed` elements; it says how many only when `tells` is set.
struct SizedCall {
  uint32_t needed;
  bool tells;
  platform::WinError error = platform::kErrorMoreData;
  int calls = 0;
  platform::WinError operator()(char* data, uint32_t* size) {
    ++calls;
    if (*size < needed) {
      if (tells) *size = needed;
      return error;
    }
    for (uint32_t i = 0; i < needed; ++i) data[i] = 'x';
    *size = needed;
    return platform::kErrorSuccess;
  }
};

TEST(GrowingBuffer, GrowsToTheSizeNeededOrByDoubling) {
  std::vector<char> buffer(4);
  SizedCall told{1000, true};
  ASSERT_EQ(platform::QueryWithGrowingBuffer(&buffer, std::ref(told)), platform::kErrorSuccess);
  EXPECT_EQ(told.calls, 2);
  EXPECT_EQ(buffer, std::vector<char>(1000, 'x'));

  buffer.assign(4, 0);
  SizedCall silent{100, false, platform::kErrorInsufficientBuffer};
  ASSERT_EQ(platform::QueryWithGrowingBuffer(&buffer, std::ref(silent)), platform::kErrorSuccess);
  EXPECT_EQ(silent.calls, 6) << "4, 8, 16, 32, 64, 128";
  EXPECT_EQ(buffer.size(), 100u);

  buffer.clear();
  SizedCall empty{0, false};
  ASSERT_EQ(platform::QueryWithGrowingBuffer(&buffer, std::ref(empty)), platform::kErrorSuccess);
  EXPECT_TRUE(buffer.empty());
}

TEST(GrowingBuffer, StopsAtTheLimitAndPassesOtherErrorsOn) {
  std::vector<char> buffer(4);
  SizedCall huge{5000, true};
  EXPECT_EQ(platform::QueryWithGrowingBuffer(&buffer, std::ref(huge), 1024),
            platform::kErrorMoreData);
  EXPECT_EQ(huge.calls, 2) << "grown once to the limit, then given up";
  EXPECT_EQ(buffer.size(), 1024u);

  SizedCall failing{10, true, platform::kErrorAccessDenied};
  EXPECT_EQ(platform::QueryWithGrowingBuffer(&buffer, std::ref(failing)), platform::kErrorSuccess);
  buffer.assign(2, 0);
  EXPECT_EQ(platform::QueryWithGrowingBuffer(&buffer, std::ref(failing)),
            platform::kErrorAccessDenied);
  EXPECT_EQ(failing.calls, 2);
}

// Like GetModuleFileName: the length, or the buffer's size when the text was cut; 0 on failure.
TEST(GrowingBuffer, LengthStringsGrowUntilTheTextFitsWhole) {
  const std::u16string path(600, u'p');
  std::vector<uint32_t> capacities;
  const auto module_path = [&](char16_t* data, uint32_t capacity) {
    capacities.push_back(capacity);
    const uint32_t copied = std::min(capacity, static_cast<uint32_t>(path.size()));
    std::copy_n(path.begin(), copied, data);
    return copied;
  };
  EXPECT_EQ(platform::QueryLengthString<char16_t>(module_path), path);
  EXPECT_EQ(capacities, (std::vector<uint32_t>{260, 520, 1040}));

  const auto failing = [](char*, uint32_t) { return 0u; };
  EXPECT_EQ(platform::QueryLengthString<char>(failing), std::nullopt);
}

}  // namespace
