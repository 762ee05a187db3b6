#include "platform/registry_tree.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_registry.h"

namespace {

using platform::DeleteKeyTree;
using platform::kErrorAccessDenied;
using platform::kErrorSuccess;
using platform::RootKey;
using platform::sim::RegistryOperation;

class RegistryTreeTest : public testing::Test {
 protected:
  platform::sim::SimRegistry registry_;
};

TEST_F(RegistryTreeTest, DeletesEverythingBelowAndLeavesSiblings) {
  registry_.AddKey(RootKey::kLocalMachine, "Software\\Tree\\A\\Deep\\Deeper");
  registry_.AddKey(RootKey::kLocalMachine, "Software\\Tree\\B");
  registry_.PutDword(RootKey::kLocalMachine, "Software\\Tree\\A", "Value", 1);
  registry_.AddKey(RootKey::kLocalMachine, "Software\\TreeSibling");
  EXPECT_EQ(DeleteKeyTree(registry_, RootKey::kLocalMachine, "Software\\Tree"), kErrorSuccess);
  EXPECT_FALSE(registry_.HasKey(RootKey::kLocalMachine, "Software\\Tree"));
  EXPECT_TRUE(registry_.HasKey(RootKey::kLocalMachine, "Software\\TreeSibling"));
}

TEST_F(RegistryTreeTest, AMissingKeyCountsAsDeleted) {
  EXPECT_EQ(DeleteKeyTree(registry_, RootKey::kClassesRoot, u"CLSID\\{none}"), kErrorSuccess);
}

TEST_F(RegistryTreeTest, WideNamesOutsideAnyCodePageAreDeleted) {
  registry_.AddKey(RootKey::kClassesRoot, "Root\\\xE4\xB8\xAD\\\xF0\x9F\x98\x80");
  EXPECT_EQ(DeleteKeyTree(registry_, RootKey::kClassesRoot, u"Root"), kErrorSuccess);
  EXPECT_FALSE(registry_.HasKey(RootKey::kClassesRoot, "Root"));
}

TEST_F(RegistryTreeTest, AnUndeletableSubkeyStopsTheDeletionWithoutLooping) {
  registry_.AddKey(RootKey::kLocalMachine, "Software\\Tree\\Locked");
  registry_.AddKey(RootKey::kLocalMachine, "Software\\Tree\\Other");
  registry_.InjectFailure(RegistryOperation::kDeleteKey, RootKey::kLocalMachine,
                          "Software\\Tree\\Locked", kErrorAccessDenied);
  EXPECT_EQ(DeleteKeyTree(registry_, RootKey::kLocalMachine, "Software\\Tree"), kErrorAccessDenied);
  EXPECT_TRUE(registry_.HasKey(RootKey::kLocalMachine, "Software\\Tree\\Locked"));
  EXPECT_TRUE(registry_.HasKey(RootKey::kLocalMachine, "Software\\Tree\\Other"))
      << "the first subkey that cannot go ends the attempt";
}

TEST(KeyDeletionCall, TheViewIsNamedOnlyWhereItCanBe) {
  using platform::ChooseKeyDeletionCall;
  using platform::KeyDeletionCall;
  using platform::RegistryView;
  EXPECT_EQ(ChooseKeyDeletionCall(RegistryView::k64Bit, true), KeyDeletionCall::kWithView);
  EXPECT_EQ(ChooseKeyDeletionCall(RegistryView::k32Bit, true), KeyDeletionCall::kWithView);
  EXPECT_EQ(ChooseKeyDeletionCall(RegistryView::kDefault, true), KeyDeletionCall::kPlain);
  EXPECT_EQ(ChooseKeyDeletionCall(RegistryView::k64Bit, false), KeyDeletionCall::kPlain)
      << "a system without the call has one view only";
}

}  // namespace
