// What the simulated registry adds to the contract: set-up and inspection, injected failures,
// the 64-bit view of a 32-bit program on 64-bit Windows, and choices where Wine strays from
// Windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "platform/registry_values.h"
#include "platform/sim/sim_registry.h"

namespace {

using platform::kErrorAccessDenied;
using platform::kErrorFileNotFound;
using platform::kErrorNotEnoughMemory;
using platform::kErrorSuccess;
using platform::kKeyAllAccess;
using platform::kKeyRead;
using platform::RegistryKey;
using platform::RegistryView;
using platform::RootKey;
using platform::ValueType;
using platform::sim::RegistryOperation;
using platform::sim::SimRegistry;

constexpr RootKey kHkcu = RootKey::kCurrentUser;
constexpr RootKey kHklm = RootKey::kLocalMachine;

std::unique_ptr<RegistryKey> Open(SimRegistry& registry, RootKey root, std::string_view path,
                                  RegistryView view = RegistryView::kDefault) {
  std::unique_ptr<RegistryKey> key;
  EXPECT_EQ(registry.OpenKey(root, path, kKeyAllAccess, view, &key), kErrorSuccess) << path;
  return key;
}

TEST(SimRegistry, WhatATestPutsThePortReadsAndTheOtherWayRound) {
  SimRegistry registry;
  registry.PutString(kHkcu, "Software\\Vendor", "Name", "Velquor");
  registry.PutDword(kHkcu, "Software\\Vendor", "Count", 7);
  registry.PutMultiString(kHkcu, "Software\\Vendor", "List", {"a", "bc"});
  registry.AddKey(kHkcu, "Software\\Vendor\\Empty");

  auto key = Open(registry, kHkcu, "SOFTWARE\\vendor");
  ASSERT_NE(key, nullptr);
  std::string name;
  uint32_t count = 0;
  std::vector<std::string> list;
  EXPECT_EQ(platform::QueryStringValue(*key, "name", &name), kErrorSuccess);
  EXPECT_EQ(name, "Velquor");
  EXPECT_EQ(platform::QueryDwordValue(*key, "Count", &count), kErrorSuccess);
  EXPECT_EQ(count, 7u);
  EXPECT_EQ(platform::QueryMultiStringValue(*key, "List", &list), kErrorSuccess);
  EXPECT_EQ(list, (std::vector<std::string>{"a", "bc"}));

  ASSERT_EQ(platform::SetDwordValue(*key, "Added", 0x0A0B0C0D), kErrorSuccess);
  const auto added = registry.GetValue(kHkcu, "Software\\Vendor", "ADDED");
  ASSERT_TRUE(added.has_value());
  EXPECT_EQ(added->type, ValueType::kDword);
  EXPECT_EQ(added->data, (std::vector<uint8_t>{0x0D, 0x0C, 0x0B, 0x0A}));
  EXPECT_EQ(registry.ValueNames(kHkcu, "Software\\Vendor"),
            (std::vector<std::string>{"Name", "Count", "List", "Added"}));
  EXPECT_EQ(registry.SubKeys(kHkcu, "Software"), (std::vector<std::string>{"Vendor"}));
  EXPECT_TRUE(registry.HasKey(kHkcu, "software\\VENDOR\\empty"));
  EXPECT_FALSE(registry.HasKey(kHkcu, "Software\\Other"));
  EXPECT_FALSE(registry.HasKey(kHklm, "Software\\Vendor"));
  EXPECT_FALSE(registry.GetValue(kHkcu, "Software\\Vendor", "Absent").has_value());
  EXPECT_TRUE(registry.SubKeys(kHkcu, "Software\\Other").empty());
}

TEST(SimRegistry, InjectedFailuresHitOnlyTheirOperationAndKey) {
  SimRegistry registry;
  registry.PutDword(kHkcu, "Software\\Target", "Value", 1);
  registry.AddKey(kHkcu, "Software\\Target\\Sub");
  registry.PutDword(kHkcu, "Software\\Other", "Value", 1);
  registry.InjectFailure(RegistryOperation::kSetValue, kHkcu, "SOFTWARE\\target",
                         kErrorAccessDenied);
  registry.InjectFailure(RegistryOperation::kEnumSubKey, kHkcu, "Software\\Target",
                         kErrorNotEnoughMemory);
  registry.InjectFailure(RegistryOperation::kCreate, kHkcu, "Software\\Target\\New", 1450);
  registry.InjectFailure(RegistryOperation::kDeleteKey, kHkcu, "Software\\Target\\Sub", 1021);

  auto target = Open(registry, kHkcu, "Software\\Target");
  auto other = Open(registry, kHkcu, "Software\\Other");
  ASSERT_NE(target, nullptr);
  ASSERT_NE(other, nullptr);
  std::string name;
  EXPECT_EQ(platform::SetDwordValue(*target, "Value", 2), kErrorAccessDenied);
  EXPECT_EQ(platform::SetDwordValue(*target, "Value", 2), kErrorAccessDenied) << "stays failing";
  EXPECT_EQ(platform::SetDwordValue(*other, "Value", 2), kErrorSuccess);
  EXPECT_EQ(target->EnumSubKey(0, &name), kErrorNotEnoughMemory);
  EXPECT_EQ(other->EnumSubKey(0, &name), platform::kErrorNoMoreItems);
  uint32_t value = 0;
  EXPECT_EQ(platform::QueryDwordValue(*target, "Value", &value), kErrorSuccess);
  EXPECT_EQ(value, 1u);

  std::unique_ptr<RegistryKey> made;
  bool created = false;
  EXPECT_EQ(target->CreateSubKey("new", kKeyAllAccess, &made, &created), 1450u);
  EXPECT_EQ(registry.CreateKey(kHkcu, "Software\\Target\\New\\Deeper", kKeyAllAccess,
                               RegistryView::kDefault, &made, &created),
            kErrorSuccess)
      << "only the key named fails, not keys below it";
  EXPECT_EQ(registry.DeleteKey(kHkcu, "Software\\Target\\Sub", RegistryView::kDefault), 1021u);
  EXPECT_TRUE(registry.HasKey(kHkcu, "Software\\Target\\Sub"));
}

TEST(SimRegistry, InjectedOpenAndValueFailures) {
  SimRegistry registry;
  registry.PutString(kHklm, "Software\\Target", "Text", "x");
  registry.InjectFailure(RegistryOperation::kOpen, kHklm, "Software\\Target", kErrorAccessDenied);
  std::unique_ptr<RegistryKey> key;
  EXPECT_EQ(registry.OpenKey(kHklm, "Software\\Target", kKeyRead, RegistryView::kDefault, &key),
            kErrorAccessDenied);

  bool created = false;
  ASSERT_EQ(registry.CreateKey(kHklm, "Software\\Target", kKeyAllAccess, RegistryView::kDefault,
                               &key, &created),
            kErrorSuccess);
  registry.InjectFailure(RegistryOperation::kQueryValue, kHklm, "Software\\Target", 1011);
  registry.InjectFailure(RegistryOperation::kDeleteValue, kHklm, "Software\\Target", 1013);
  std::string text;
  EXPECT_EQ(platform::QueryStringValue(*key, "Text", &text), 1011u);
  EXPECT_EQ(key->DeleteValue("Text"), 1013u);
  EXPECT_TRUE(registry.GetValue(kHklm, "Software\\Target", "Text").has_value());
}

TEST(SimRegistry, ASeparate64BitViewRedirectsLocalMachineSoftware) {
  SimRegistry registry;
  registry.SetSeparate64BitView(true);
  std::unique_ptr<RegistryKey> key;
  bool created = false;
  ASSERT_EQ(registry.CreateKey(kHklm, "SOFTWARE\\Vendor", kKeyAllAccess, RegistryView::kDefault,
                               &key, &created),
            kErrorSuccess);
  EXPECT_TRUE(registry.HasKey(kHklm, "SOFTWARE\\Wow6432Node\\Vendor", RegistryView::k64Bit));
  EXPECT_FALSE(registry.HasKey(kHklm, "SOFTWARE\\Vendor", RegistryView::k64Bit));
  EXPECT_TRUE(registry.HasKey(kHklm, "Software\\Vendor", RegistryView::k32Bit));
  EXPECT_TRUE(registry.HasKey(kHklm, "Software\\Wow6432Node\\Vendor")) << "named directly";
  EXPECT_EQ(registry.SubKeys(kHklm, "SOFTWARE\\Wow6432Node", RegistryView::k64Bit),
            (std::vector<std::string>{"Vendor"}))
      << "naming Wow6432Node in the redirected view does not nest it";

  ASSERT_EQ(registry.CreateKey(kHklm, "SOFTWARE\\Vendor", kKeyAllAccess, RegistryView::k64Bit, &key,
                               &created),
            kErrorSuccess);
  EXPECT_TRUE(created) << "the 64-bit view is another tree";
  EXPECT_EQ(registry.SubKeys(kHklm, "SOFTWARE", RegistryView::k64Bit),
            (std::vector<std::string>{"Vendor", "Wow6432Node"}));

  // A key opened in the 64-bit view keeps its subkeys there.
  auto software = Open(registry, kHklm, "SOFTWARE", RegistryView::k64Bit);
  ASSERT_NE(software, nullptr);
  ASSERT_EQ(software->CreateSubKey("Shim", kKeyAllAccess, &key, &created), kErrorSuccess);
  EXPECT_TRUE(registry.HasKey(kHklm, "SOFTWARE\\Shim", RegistryView::k64Bit));
  EXPECT_FALSE(registry.HasKey(kHklm, "SOFTWARE\\Shim", RegistryView::k32Bit));

  // Only HKLM\SOFTWARE is redirected.
  registry.AddKey(kHkcu, "Software\\Vendor");
  EXPECT_TRUE(registry.HasKey(kHkcu, "Software\\Vendor", RegistryView::k64Bit));
  registry.AddKey(kHklm, "SYSTEM\\CurrentControlSet");
  EXPECT_TRUE(registry.HasKey(kHklm, "SYSTEM\\CurrentControlSet", RegistryView::k64Bit));
}

TEST(SimRegistry, WithoutASeparateViewEveryViewIsTheSameTree) {
  SimRegistry registry;
  registry.PutDword(kHklm, "SOFTWARE\\Vendor", "RenderAll", 1, RegistryView::k64Bit);
  EXPECT_TRUE(registry.GetValue(kHklm, "SOFTWARE\\Vendor", "RenderAll", RegistryView::k32Bit));
  EXPECT_TRUE(registry.GetValue(kHklm, "SOFTWARE\\Vendor", "RenderAll"));
  EXPECT_FALSE(registry.HasKey(kHklm, "SOFTWARE\\Wow6432Node"));
}

// Wine sorts by lower-cased name and reports an empty path as a created key; the simulation
// follows Windows in both.
TEST(SimRegistry, FollowsWindowsWhereWineDiffers) {
  SimRegistry registry;
  for (const char* name : {"_under", "Zeta", "alpha", "[bracket"}) {
    registry.AddKey(kHkcu, std::string("List\\") + name);
  }
  EXPECT_EQ(registry.SubKeys(kHkcu, "List"),
            (std::vector<std::string>{"alpha", "Zeta", "[bracket", "_under"}));

  std::unique_ptr<RegistryKey> key;
  bool created = true;
  ASSERT_EQ(registry.CreateKey(kHkcu, "", kKeyAllAccess, RegistryView::kDefault, &key, &created),
            kErrorSuccess);
  EXPECT_FALSE(created);
  EXPECT_EQ(registry.DeleteKey(kHkcu, "", RegistryView::kDefault), kErrorAccessDenied)
      << "a root cannot be deleted";
}

TEST(SimRegistry, KeysOutliveTheRegistryThatGaveThemOut) {
  std::unique_ptr<RegistryKey> key;
  {
    SimRegistry registry;
    bool created = false;
    ASSERT_EQ(registry.CreateKey(kHkcu, "Software\\Vendor", kKeyAllAccess, RegistryView::kDefault,
                                 &key, &created),
              kErrorSuccess);
  }
  EXPECT_EQ(platform::SetDwordValue(*key, "Value", 1), kErrorSuccess);
  uint32_t value = 0;
  EXPECT_EQ(platform::QueryDwordValue(*key, "Value", &value), kErrorSuccess);
  EXPECT_EQ(value, 1u);
  std::unique_ptr<RegistryKey> missing;
  EXPECT_EQ(key->OpenSubKey("Missing", kKeyRead, &missing), kErrorFileNotFound);
}

TEST(SimRegistry, KeysCreatedFromSeveralThreadsAllArrive) {
  SimRegistry registry;
  constexpr int kThreads = 4;
  constexpr int kKeysEach = 200;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&registry, t] {
      for (int i = 0; i < kKeysEach; ++i) {
        std::unique_ptr<RegistryKey> key;
        bool created = false;
        const std::string path = "Software\\Shared\\K" + std::to_string(t * kKeysEach + i);
        registry.CreateKey(kHkcu, path, kKeyAllAccess, RegistryView::kDefault, &key, &created);
        platform::SetDwordValue(*key, "Index", static_cast<uint32_t>(i));
      }
    });
  }
  for (auto& thread : threads) thread.join();
  const auto names = registry.SubKeys(kHkcu, "Software\\Shared");
  EXPECT_EQ(names.size(), static_cast<size_t>(kThreads * kKeysEach));
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end(),
                             [](const std::string& a, const std::string& b) { return a < b; }));
}

}  // namespace
