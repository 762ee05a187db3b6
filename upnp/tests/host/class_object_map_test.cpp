#include "upnp/core/class_object_map.h"

#include <gtest/gtest.h>

namespace upnp {
namespace {

constexpr int kIidUnknown = 0;
constexpr int kIidClassFactory = 1;
constexpr int kIidOther = 2;

// A class factory that counts its references and answers two interfaces.
struct FakeFactory {
  int references = 1;
  bool destroyed = false;

  void AddRef() { ++references; }
  void Release() {
    if (--references == 0) destroyed = true;
  }
  platform::HResult QueryInterface(int iid, void** object) {
    if (iid != kIidUnknown && iid != kIidClassFactory) return platform::kENoInterface;
    AddRef();
    *object = this;
    return platform::kSOk;
  }
};

class ClassObjectMapTest : public ::testing::Test {
 protected:
  static constexpr int kOmvo = 10;

  ClassObjectMapTest() {
    map_.Add(kOmvo, [this](FakeFactory** made) {
      ++creations_;
      if (platform::Failed(next_creation_)) return next_creation_;
      factory_ = FakeFactory{};
      *made = &factory_;
      return platform::kSOk;
    });
  }

  platform::HResult Get(int clsid, int iid, void** object) {
    return map_.GetClassObject(clsid, iid, object);
  }

  ClassObjectMap<int, FakeFactory> map_;
  FakeFactory factory_;
  int creations_ = 0;
  platform::HResult next_creation_ = platform::kSOk;
};

TEST_F(ClassObjectMapTest, TheFactoryIsMadeOnceAndKeptUntilReleased) {
  void* first = nullptr;
  void* second = nullptr;
  ASSERT_EQ(Get(kOmvo, kIidClassFactory, &first), platform::kSOk);
  ASSERT_EQ(Get(kOmvo, kIidUnknown, &second), platform::kSOk);
  EXPECT_EQ(creations_, 1);
  EXPECT_EQ(first, &factory_);
  EXPECT_EQ(second, &factory_);
  // The map's own reference and one for each caller.
  EXPECT_EQ(factory_.references, 3);

  factory_.Release();
  factory_.Release();
  map_.ReleaseFactories();
  EXPECT_TRUE(factory_.destroyed);
}

TEST_F(ClassObjectMapTest, AFailedCreationKeepsNothingAndTheNextRequestTriesAgain) {
  next_creation_ = platform::kEOutOfMemory;
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(Get(kOmvo, kIidClassFactory, &object), platform::kEOutOfMemory);
  EXPECT_EQ(object, nullptr);

  next_creation_ = platform::kSOk;
  EXPECT_EQ(Get(kOmvo, kIidClassFactory, &object), platform::kSOk);
  EXPECT_EQ(object, &factory_);
  EXPECT_EQ(creations_, 2);
}

TEST_F(ClassObjectMapTest, UnknownClassesInterfacesAndMissingOutPointersAreRefused) {
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(Get(kOmvo + 1, kIidClassFactory, &object), platform::kClassEClassNotAvailable);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(creations_, 0);

  EXPECT_EQ(Get(kOmvo, kIidClassFactory, nullptr), platform::kEPointer);
  EXPECT_EQ(creations_, 0);

  // The factory is made and kept even when it lacks the interface asked for.
  EXPECT_EQ(Get(kOmvo, kIidOther, &object), platform::kENoInterface);
  EXPECT_EQ(creations_, 1);
  EXPECT_EQ(factory_.references, 1);
}

TEST(ClassObjectMap, EachClassHasItsOwnFactory) {
  FakeFactory first;
  FakeFactory second;
  ClassObjectMap<int, FakeFactory> map;
  map.Add(1, [&](FakeFactory** made) {
    *made = &first;
    return platform::kSOk;
  });
  map.Add(2, [&](FakeFactory** made) {
    *made = &second;
    return platform::kSOk;
  });
  void* object = nullptr;
  ASSERT_EQ(map.GetClassObject(2, kIidClassFactory, &object), platform::kSOk);
  EXPECT_EQ(object, &second);
  ASSERT_EQ(map.GetClassObject(1, kIidClassFactory, &object), platform::kSOk);
  EXPECT_EQ(object, &first);
}

}  // namespace
}  // namespace upnp
