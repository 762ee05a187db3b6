// The registry's Windows semantics, checked the same way against the simulation and, under
// Wine, against the real registry. Every test works below its own scratch keys.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/registry_tree.h"
#include "platform/registry_values.h"
#include "registry_subject.h"

namespace {

using platform::kErrorAccessDenied;
using platform::kErrorBadPathname;
using platform::kErrorFileNotFound;
using platform::kErrorInvalidData;
using platform::kErrorInvalidParameter;
using platform::kErrorKeyDeleted;
using platform::kErrorMoreData;
using platform::kErrorNoMoreItems;
using platform::kErrorSuccess;
using platform::kKeyAllAccess;
using platform::kKeyEnumerateSubKeys;
using platform::kKeyRead;
using platform::kKeySetValue;
using platform::RegistryKey;
using platform::RegistryView;
using platform::RootKey;
using platform::ValueType;
using platform::WinError;

constexpr const char* kContractRoot = "Software\\OvContract";

std::vector<uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

class RegistryContract : public testing::Test {
 protected:
  void SetUp() override {
    registry_ = registry_contract::MakeRegistry();
    name_ = testing::UnitTest::GetInstance()->current_test_info()->name();
    base_ = std::string(kContractRoot) + "\\" + name_;
    classes_base_ = "OvContract." + name_;
    RemoveScratch();
  }
  void TearDown() override { RemoveScratch(); }

  static std::u16string Wide(std::string_view ascii) { return {ascii.begin(), ascii.end()}; }

  // Through the wide operations, so names outside the code page are deleted too.
  void RemoveScratch() {
    for (const RegistryView view : {RegistryView::k32Bit, RegistryView::k64Bit}) {
      platform::DeleteKeyTree(*registry_, RootKey::kCurrentUser, Wide(base_), view);
      platform::DeleteKeyTree(*registry_, RootKey::kLocalMachine, Wide(base_), view);
      // The shared parent goes once the last test's keys are gone; refused while others remain.
      registry_->DeleteKey(RootKey::kCurrentUser, kContractRoot, view);
      registry_->DeleteKey(RootKey::kLocalMachine, kContractRoot, view);
    }
    platform::DeleteKeyTree(*registry_, RootKey::kClassesRoot, Wide(classes_base_),
                            RegistryView::kDefault);
  }

  std::string Path(std::string_view sub) const { return base_ + "\\" + std::string(sub); }

  std::unique_ptr<RegistryKey> Create(std::string_view sub, uint32_t access = kKeyAllAccess) {
    std::unique_ptr<RegistryKey> key;
    bool created = false;
    EXPECT_EQ(registry_->CreateKey(RootKey::kCurrentUser, Path(sub), access, RegistryView::kDefault,
                                   &key, &created),
              kErrorSuccess);
    return key;
  }

  WinError Open(std::string_view sub, uint32_t access = kKeyRead) {
    std::unique_ptr<RegistryKey> key;
    return registry_->OpenKey(RootKey::kCurrentUser, Path(sub), access, RegistryView::kDefault,
                              &key);
  }

  WinError DeleteKey(std::string_view sub) {
    return registry_->DeleteKey(RootKey::kCurrentUser, Path(sub), RegistryView::kDefault);
  }

  std::unique_ptr<platform::Registry> registry_;
  std::string name_;
  std::string base_;
  std::string classes_base_;
};

TEST_F(RegistryContract, CreateReportsWhetherTheKeyWasNew) {
  std::unique_ptr<RegistryKey> key;
  bool created = false;
  ASSERT_EQ(registry_->CreateKey(RootKey::kCurrentUser, Path("New\\Deep"), kKeyAllAccess,
                                 RegistryView::kDefault, &key, &created),
            kErrorSuccess);
  EXPECT_TRUE(created);
  ASSERT_EQ(registry_->CreateKey(RootKey::kCurrentUser, Path("NEW\\deep"), kKeyAllAccess,
                                 RegistryView::kDefault, &key, &created),
            kErrorSuccess);
  EXPECT_FALSE(created);
  ASSERT_EQ(registry_->CreateKey(RootKey::kCurrentUser, Path("new"), kKeyAllAccess,
                                 RegistryView::kDefault, &key, &created),
            kErrorSuccess);
  EXPECT_FALSE(created);

  std::unique_ptr<RegistryKey> child;
  ASSERT_EQ(key->CreateSubKey("Child", kKeyAllAccess, &child, &created), kErrorSuccess);
  EXPECT_TRUE(created);
  ASSERT_EQ(key->CreateSubKey("CHILD", kKeyAllAccess, &child, &created), kErrorSuccess);
  EXPECT_FALSE(created);
  EXPECT_EQ(Open("New\\Child"), kErrorSuccess);
}

TEST_F(RegistryContract, OpeningAMissingKeyGivesFileNotFound) {
  auto key = Create("Present");
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(Open("Missing"), kErrorFileNotFound);
  EXPECT_EQ(Open("Missing\\Deeper"), kErrorFileNotFound);
  std::unique_ptr<RegistryKey> sub;
  EXPECT_EQ(key->OpenSubKey("Missing", kKeyRead, &sub), kErrorFileNotFound);
  EXPECT_EQ(Open("pRESENT"), kErrorSuccess);
  EXPECT_EQ(key->OpenSubKey("", kKeyRead, &sub), kErrorSuccess);
}

TEST_F(RegistryContract, PathsSkipEmptyPartsButRefuseALeadingBackslash) {
  ASSERT_NE(Create("Trail\\"), nullptr);
  EXPECT_EQ(Open("Trail"), kErrorSuccess);
  ASSERT_NE(Create("Double\\\\Inner"), nullptr);
  EXPECT_EQ(Open("Double\\Inner"), kErrorSuccess);

  auto key = Create("Base");
  ASSERT_NE(key, nullptr);
  std::unique_ptr<RegistryKey> sub;
  bool created = false;
  EXPECT_EQ(key->CreateSubKey("\\Lead", kKeyAllAccess, &sub, &created), kErrorBadPathname);
  EXPECT_EQ(key->OpenSubKey("\\Lead", kKeyRead, &sub), kErrorBadPathname);
  EXPECT_EQ(key->DeleteSubKey("\\Lead"), kErrorBadPathname);
  EXPECT_EQ(registry_->OpenKey(RootKey::kCurrentUser, "\\" + base_, kKeyRead,
                               RegistryView::kDefault, &sub),
            kErrorBadPathname);
}

TEST_F(RegistryContract, DeletingAKeyWithSubkeysIsRefused) {
  ASSERT_NE(Create("Parent\\Child"), nullptr);
  EXPECT_EQ(DeleteKey("Parent"), kErrorAccessDenied);
  EXPECT_EQ(Open("Parent\\Child"), kErrorSuccess);

  EXPECT_EQ(DeleteKey("parent\\CHILD"), kErrorSuccess);
  EXPECT_EQ(Open("Parent\\Child"), kErrorFileNotFound);
  EXPECT_EQ(DeleteKey("Parent"), kErrorSuccess);
  EXPECT_EQ(Open("Parent"), kErrorFileNotFound);
  EXPECT_EQ(DeleteKey("Parent"), kErrorFileNotFound);
  EXPECT_EQ(DeleteKey("Missing\\Deeper"), kErrorFileNotFound);
}

TEST_F(RegistryContract, AKeyDeletesItselfThroughAnEmptyPath) {
  auto key = Create("Self");
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->DeleteSubKey(""), kErrorSuccess);
  EXPECT_EQ(Open("Self"), kErrorFileNotFound);
}

TEST_F(RegistryContract, SubkeysEnumerateSortedWithoutRegardToCase) {
  for (const char* name : {"beta", "Alpha", "gamma", "B2", "b10", "Zeta"}) {
    ASSERT_NE(Create(std::string("List\\") + name), nullptr);
  }
  auto list = Create("List", kKeyRead);
  ASSERT_NE(list, nullptr);
  std::vector<std::string> names;
  std::string name;
  uint32_t index = 0;
  while (list->EnumSubKey(index, &name) == kErrorSuccess) {
    names.push_back(name);
    ++index;
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "b10", "B2", "beta", "gamma", "Zeta"}));
  EXPECT_EQ(list->EnumSubKey(6, &name), kErrorNoMoreItems);
  EXPECT_EQ(list->EnumSubKey(100, &name), kErrorNoMoreItems);

  // Indexes are positions in the current list: a deletion shifts the later ones down.
  EXPECT_EQ(DeleteKey("List\\Alpha"), kErrorSuccess);
  ASSERT_EQ(list->EnumSubKey(0, &name), kErrorSuccess);
  EXPECT_EQ(name, "b10");
  EXPECT_EQ(list->EnumSubKey(5, &name), kErrorNoMoreItems);
}

TEST_F(RegistryContract, AMissingValueGivesFileNotFound) {
  auto key = Create("Values");
  ASSERT_NE(key, nullptr);
  uint32_t size = 0;
  ValueType type = ValueType::kNone;
  EXPECT_EQ(key->QueryValue("Absent", &type, nullptr, &size), kErrorFileNotFound);
  std::array<uint8_t, 16> buffer{};
  size = buffer.size();
  EXPECT_EQ(key->QueryValue("Absent", &type, buffer.data(), &size), kErrorFileNotFound);
  EXPECT_EQ(key->QueryValue("", &type, nullptr, &size), kErrorFileNotFound);
  EXPECT_EQ(key->DeleteValue("Absent"), kErrorFileNotFound);
  EXPECT_EQ(key->DeleteValue(""), kErrorFileNotFound);
}

TEST_F(RegistryContract, QueryReportsTheSizeAndRefusesSmallBuffers) {
  auto key = Create("Values");
  ASSERT_NE(key, nullptr);
  const auto abc = Bytes(std::string_view("abc", 4));
  ASSERT_EQ(key->SetValue("Text", ValueType::kString, abc), kErrorSuccess);

  ValueType type = ValueType::kNone;
  uint32_t size = 0;
  ASSERT_EQ(key->QueryValue("Text", &type, nullptr, &size), kErrorSuccess);
  EXPECT_EQ(type, ValueType::kString);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(key->QueryValue("Text", nullptr, nullptr, nullptr), kErrorSuccess);

  std::array<uint8_t, 8> buffer;
  buffer.fill('X');
  size = 3;
  EXPECT_EQ(key->QueryValue("Text", &type, buffer.data(), &size), kErrorMoreData);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(buffer[0], 'X');

  size = 4;
  ASSERT_EQ(key->QueryValue("Text", &type, buffer.data(), &size), kErrorSuccess);
  EXPECT_EQ(std::vector<uint8_t>(buffer.begin(), buffer.begin() + 4), abc);
  EXPECT_EQ(key->QueryValue("Text", &type, buffer.data(), nullptr), kErrorInvalidParameter);
}

TEST_F(RegistryContract, StringDataWithoutTerminatorIsStoredAsGiven) {
  auto key = Create("Values");
  ASSERT_NE(key, nullptr);
  // The byte after the data is a NUL here; it must not become part of the value.
  const std::string backing("abc");
  const std::span<const uint8_t> abc(reinterpret_cast<const uint8_t*>(backing.data()), 3);
  ASSERT_EQ(key->SetValue("Bare", ValueType::kString, abc), kErrorSuccess);
  std::array<uint8_t, 8> buffer;
  buffer.fill('X');
  uint32_t size = buffer.size();
  ASSERT_EQ(key->QueryValue("Bare", nullptr, buffer.data(), &size), kErrorSuccess);
  EXPECT_EQ(size, 3u);
  EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + 5), std::string("abc\0X", 5))
      << "a terminator is added where the buffer has room, outside the size";

  buffer.fill('X');
  size = 3;
  ASSERT_EQ(key->QueryValue("Bare", nullptr, buffer.data(), &size), kErrorSuccess);
  EXPECT_EQ(buffer[3], 'X');

  const std::string multi("a\0bc", 4);
  ASSERT_EQ(key->SetValue("List", ValueType::kMultiString, Bytes(multi)), kErrorSuccess);
  buffer.fill('X');
  size = buffer.size();
  ASSERT_EQ(key->QueryValue("List", nullptr, buffer.data(), &size), kErrorSuccess);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + 6), std::string("a\0bc\0X", 6));

  ASSERT_EQ(key->SetValue("Raw", ValueType::kBinary, abc), kErrorSuccess);
  buffer.fill('X');
  size = buffer.size();
  ASSERT_EQ(key->QueryValue("Raw", nullptr, buffer.data(), &size), kErrorSuccess);
  EXPECT_EQ(size, 3u);
  EXPECT_EQ(buffer[3], 'X') << "binary data gets no terminator";

  ASSERT_EQ(key->SetValue("Empty", ValueType::kString, {}), kErrorSuccess);
  size = buffer.size();
  ASSERT_EQ(key->QueryValue("Empty", nullptr, buffer.data(), &size), kErrorSuccess);
  EXPECT_EQ(size, 0u);
}

TEST_F(RegistryContract, ValuesKeepTypeAndBytesAndMatchNamesWithoutRegardToCase) {
  auto key = Create("Values");
  ASSERT_NE(key, nullptr);
  const std::vector<uint8_t> dword = {1, 2, 3, 4};
  const std::vector<uint8_t> short_dword = {1, 2, 3};
  const auto odd_type = static_cast<ValueType>(0x12345);
  ASSERT_EQ(key->SetValue("Number", ValueType::kDword, dword), kErrorSuccess);
  ASSERT_EQ(key->SetValue("Short", ValueType::kDword, short_dword), kErrorSuccess);
  ASSERT_EQ(key->SetValue("Nothing", ValueType::kBinary, {}), kErrorSuccess);
  ASSERT_EQ(key->SetValue("Odd", odd_type, Bytes("x")), kErrorSuccess);
  ASSERT_EQ(key->SetValue("", ValueType::kString, Bytes(std::string_view("def", 4))),
            kErrorSuccess);

  struct Expected {
    const char* name;
    ValueType type;
    std::vector<uint8_t> data;
  };
  const std::vector<Expected> expected = {
      {"NUMBER", ValueType::kDword, dword},
      {"short", ValueType::kDword, short_dword},
      {"Nothing", ValueType::kBinary, {}},
      {"odd", odd_type, Bytes("x")},
      {"", ValueType::kString, Bytes(std::string_view("def", 4))}};
  for (const Expected& value : expected) {
    std::array<uint8_t, 16> buffer{};
    uint32_t size = buffer.size();
    ValueType type = ValueType::kNone;
    ASSERT_EQ(key->QueryValue(value.name, &type, buffer.data(), &size), kErrorSuccess)
        << value.name;
    EXPECT_EQ(type, value.type) << value.name;
    EXPECT_EQ(std::vector<uint8_t>(buffer.begin(), buffer.begin() + size), value.data)
        << value.name;
  }

  ASSERT_EQ(key->SetValue("number", ValueType::kBinary, Bytes("xy")), kErrorSuccess);
  ValueType type = ValueType::kNone;
  uint32_t size = 0;
  ASSERT_EQ(key->QueryValue("Number", &type, nullptr, &size), kErrorSuccess);
  EXPECT_EQ(type, ValueType::kBinary);
  EXPECT_EQ(size, 2u);
  EXPECT_EQ(key->DeleteValue("NUMBER"), kErrorSuccess);
  EXPECT_EQ(key->QueryValue("Number", &type, nullptr, &size), kErrorFileNotFound);
}

TEST_F(RegistryContract, TypedHelpersWriteTheWindowsEncodings) {
  auto key = Create("Typed");
  ASSERT_NE(key, nullptr);
  ASSERT_EQ(platform::SetStringValue(*key, "Name", "Velquor"), kErrorSuccess);
  ASSERT_EQ(platform::SetMultiStringValue(*key, "List", {"a", "bc"}), kErrorSuccess);
  ASSERT_EQ(platform::SetDwordValue(*key, "Count", 0x01020304), kErrorSuccess);
  const std::string long_text(5000, 'q');
  ASSERT_EQ(platform::SetStringValue(*key, "Long", long_text), kErrorSuccess);

  std::array<uint8_t, 16> buffer{};
  uint32_t size = buffer.size();
  ASSERT_EQ(key->QueryValue("List", nullptr, buffer.data(), &size), kErrorSuccess);
  EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + size), std::string("a\0bc\0\0", 6));
  size = buffer.size();
  ASSERT_EQ(key->QueryValue("Count", nullptr, buffer.data(), &size), kErrorSuccess);
  EXPECT_EQ(std::vector<uint8_t>(buffer.begin(), buffer.begin() + size),
            (std::vector<uint8_t>{4, 3, 2, 1}));

  std::string text;
  ASSERT_EQ(platform::QueryStringValue(*key, "name", &text), kErrorSuccess);
  EXPECT_EQ(text, "Velquor");
  ASSERT_EQ(platform::QueryStringValue(*key, "Long", &text), kErrorSuccess);
  EXPECT_EQ(text, long_text);
  std::vector<std::string> list;
  ASSERT_EQ(platform::QueryMultiStringValue(*key, "List", &list), kErrorSuccess);
  EXPECT_EQ(list, (std::vector<std::string>{"a", "bc"}));
  uint32_t count = 0;
  ASSERT_EQ(platform::QueryDwordValue(*key, "Count", &count), kErrorSuccess);
  EXPECT_EQ(count, 0x01020304u);
  EXPECT_EQ(platform::QueryDwordValue(*key, "Name", &count), kErrorInvalidData);
  EXPECT_EQ(platform::QueryStringValue(*key, "Absent", &text), kErrorFileNotFound);
}

TEST_F(RegistryContract, AHandleAllowsOnlyWhatItWasOpenedFor) {
  auto writer = Create("Rights");
  ASSERT_NE(writer, nullptr);
  ASSERT_EQ(platform::SetDwordValue(*writer, "Value", 1), kErrorSuccess);
  ASSERT_NE(Create("Rights\\Sub"), nullptr);

  auto reader = Create("Rights", kKeyRead);
  ASSERT_NE(reader, nullptr);
  uint32_t value = 0;
  std::string name;
  EXPECT_EQ(platform::SetDwordValue(*reader, "Value", 2), kErrorAccessDenied);
  EXPECT_EQ(reader->DeleteValue("Value"), kErrorAccessDenied);
  EXPECT_EQ(platform::QueryDwordValue(*reader, "Value", &value), kErrorSuccess);
  EXPECT_EQ(value, 1u);
  EXPECT_EQ(reader->EnumSubKey(0, &name), kErrorSuccess);
  // Subkeys are created and deleted on the rights of the key below, not of this handle.
  std::unique_ptr<RegistryKey> sub;
  bool created = false;
  EXPECT_EQ(reader->CreateSubKey("Made", kKeyAllAccess, &sub, &created), kErrorSuccess);
  EXPECT_TRUE(created);
  EXPECT_EQ(reader->DeleteSubKey("Made"), kErrorSuccess);

  auto setter = Create("Rights", kKeySetValue);
  ASSERT_NE(setter, nullptr);
  uint32_t size = 0;
  EXPECT_EQ(setter->QueryValue("Value", nullptr, nullptr, &size), kErrorAccessDenied);
  EXPECT_EQ(setter->QueryValue("Absent", nullptr, nullptr, &size), kErrorAccessDenied);
  EXPECT_EQ(setter->EnumSubKey(0, &name), kErrorAccessDenied);
  EXPECT_EQ(platform::SetDwordValue(*setter, "Value", 3), kErrorSuccess);

  auto lister = Create("Rights", kKeyEnumerateSubKeys);
  ASSERT_NE(lister, nullptr);
  EXPECT_EQ(lister->QueryValue("Value", nullptr, nullptr, &size), kErrorAccessDenied);
  EXPECT_EQ(lister->EnumSubKey(0, &name), kErrorSuccess);
}

TEST_F(RegistryContract, HandlesToADeletedKeyReportKeyDeleted) {
  auto gone = Create("Gone");
  ASSERT_NE(gone, nullptr);
  EXPECT_EQ(DeleteKey("Gone"), kErrorSuccess) << "a key open elsewhere can be deleted";

  std::unique_ptr<RegistryKey> sub;
  bool created = false;
  std::string name;
  uint32_t size = 0;
  EXPECT_EQ(platform::SetDwordValue(*gone, "Value", 1), kErrorKeyDeleted);
  EXPECT_EQ(gone->QueryValue("Value", nullptr, nullptr, &size), kErrorKeyDeleted);
  EXPECT_EQ(gone->DeleteValue("Value"), kErrorKeyDeleted);
  EXPECT_EQ(gone->EnumSubKey(0, &name), kErrorKeyDeleted);
  EXPECT_EQ(gone->CreateSubKey("Sub", kKeyAllAccess, &sub, &created), kErrorKeyDeleted);
  EXPECT_EQ(gone->OpenSubKey("", kKeyRead, &sub), kErrorKeyDeleted);
  EXPECT_EQ(gone->DeleteSubKey("Sub"), kErrorKeyDeleted);

  // A key created again under the same name is another key.
  std::unique_ptr<RegistryKey> again;
  ASSERT_EQ(registry_->CreateKey(RootKey::kCurrentUser, Path("Gone"), kKeyAllAccess,
                                 RegistryView::kDefault, &again, &created),
            kErrorSuccess);
  EXPECT_TRUE(created);
  EXPECT_EQ(platform::SetDwordValue(*gone, "Value", 1), kErrorKeyDeleted);
  EXPECT_EQ(platform::SetDwordValue(*again, "Value", 1), kErrorSuccess);
}

TEST_F(RegistryContract, ViewsOfLocalMachineSoftware) {
  std::unique_ptr<RegistryKey> key;
  bool created = false;
  ASSERT_EQ(registry_->CreateKey(RootKey::kLocalMachine, Path("Shim"), kKeyAllAccess,
                                 RegistryView::k64Bit, &key, &created),
            kErrorSuccess);
  EXPECT_TRUE(created);
  ASSERT_EQ(platform::SetDwordValue(*key, "RenderAll", 1), kErrorSuccess);

  const WinError expected =
      registry_contract::HasSeparate64BitView() ? kErrorFileNotFound : kErrorSuccess;
  std::unique_ptr<RegistryKey> other;
  EXPECT_EQ(registry_->OpenKey(RootKey::kLocalMachine, Path("Shim"), kKeyRead, RegistryView::k32Bit,
                               &other),
            expected);
  std::unique_ptr<RegistryKey> same;
  ASSERT_EQ(registry_->OpenKey(RootKey::kLocalMachine, Path("Shim"), kKeyRead, RegistryView::k64Bit,
                               &same),
            kErrorSuccess);
  uint32_t value = 0;
  EXPECT_EQ(platform::QueryDwordValue(*same, "RenderAll", &value), kErrorSuccess);
  EXPECT_EQ(value, 1u);
  if (!registry_contract::HasSeparate64BitView()) return;

  // The 32-bit view is Wow6432Node below the 64-bit HKLM\Software.
  ASSERT_EQ(registry_->CreateKey(RootKey::kLocalMachine, Path("Narrow"), kKeyAllAccess,
                                 RegistryView::k32Bit, &key, &created),
            kErrorSuccess);
  const std::string redirected = "Software\\Wow6432Node\\OvContract\\" + name_ + "\\Narrow";
  EXPECT_EQ(
      registry_->OpenKey(RootKey::kLocalMachine, redirected, kKeyRead, RegistryView::k64Bit, &same),
      kErrorSuccess);
  EXPECT_EQ(registry_->OpenKey(RootKey::kLocalMachine, Path("Narrow"), kKeyRead,
                               RegistryView::k64Bit, &same),
            kErrorFileNotFound);
}

TEST_F(RegistryContract, ClassesRootKeys) {
  std::unique_ptr<RegistryKey> key;
  bool created = false;
  ASSERT_EQ(registry_->CreateKey(RootKey::kClassesRoot, classes_base_ + "\\CLSID", kKeyAllAccess,
                                 RegistryView::kDefault, &key, &created),
            kErrorSuccess);
  EXPECT_TRUE(created);
  ASSERT_EQ(platform::SetStringValue(*key, "", "{00000000-0000-0000-0000-000000000001}"),
            kErrorSuccess);
  EXPECT_EQ(registry_->DeleteKey(RootKey::kClassesRoot, classes_base_, RegistryView::kDefault),
            kErrorAccessDenied);
  std::string text;
  ASSERT_EQ(platform::QueryStringValue(*key, "", &text), kErrorSuccess);
  EXPECT_EQ(text, "{00000000-0000-0000-0000-000000000001}");
}

// The wide operations: UTF-16 names and data, and the same Windows semantics as the 8-bit ones.
class WideRegistryContract : public RegistryContract {
 protected:
  std::u16string WidePath(std::u16string_view sub) const {
    return Wide(base_) + u"\\" + std::u16string(sub);
  }

  std::unique_ptr<RegistryKey> CreateWide(std::u16string_view sub) {
    std::unique_ptr<RegistryKey> key;
    bool created = false;
    EXPECT_EQ(registry_->CreateKey(RootKey::kCurrentUser, WidePath(sub), kKeyAllAccess,
                                   RegistryView::kDefault, &key, &created),
              kErrorSuccess);
    return key;
  }
};

TEST_F(WideRegistryContract, KeysAndValuesKeepCharactersOutsideAnyCodePage) {
  const std::u16string name = u"Kl\u00fc\u0447 \u4e2d\U0001F600";
  const std::u16string data = u"d\u00e9j\u00e0 \u4e2d\u6587";
  auto key = CreateWide(name);
  ASSERT_NE(key, nullptr);
  ASSERT_EQ(platform::SetStringValue(*key, name, data), kErrorSuccess);

  std::unique_ptr<RegistryKey> parent;
  ASSERT_EQ(registry_->OpenKey(RootKey::kCurrentUser, Wide(base_), kKeyRead, RegistryView::kDefault,
                               &parent),
            kErrorSuccess);
  std::u16string listed;
  ASSERT_EQ(parent->EnumSubKey(0, &listed), kErrorSuccess);
  EXPECT_EQ(listed, name);
  EXPECT_EQ(parent->EnumSubKey(1, &listed), kErrorNoMoreItems);

  std::unique_ptr<RegistryKey> reopened;
  ASSERT_EQ(parent->OpenSubKey(name, kKeyRead, &reopened), kErrorSuccess);
  std::u16string read;
  ASSERT_EQ(platform::QueryStringValue(*reopened, name, &read), kErrorSuccess);
  EXPECT_EQ(read, data);
}

TEST_F(WideRegistryContract, SizesAreInBytesOfUtf16) {
  auto key = CreateWide(u"Sizes");
  ASSERT_NE(key, nullptr);
  ASSERT_EQ(platform::SetStringValue(*key, u"Text", u"abc"), kErrorSuccess);

  ValueType type = ValueType::kNone;
  uint32_t size = 0;
  ASSERT_EQ(key->QueryValue(u"TEXT", &type, nullptr, &size), kErrorSuccess);
  EXPECT_EQ(type, ValueType::kString);
  EXPECT_EQ(size, 8u);
  std::array<uint8_t, 4> small{};
  size = small.size();
  EXPECT_EQ(key->QueryValue(u"Text", &type, small.data(), &size), kErrorMoreData);
  EXPECT_EQ(size, 8u);
  EXPECT_EQ(key->QueryValue(u"Missing", &type, nullptr, &size), kErrorFileNotFound);

  EXPECT_EQ(key->DeleteValue(u"text"), kErrorSuccess);
  EXPECT_EQ(key->QueryValue(u"Text", &type, nullptr, &size), kErrorFileNotFound);
  EXPECT_EQ(key->DeleteValue(u"Text"), kErrorFileNotFound);
}

TEST_F(WideRegistryContract, EachWidthReadsWhatTheOtherWrote) {
  auto key = CreateWide(u"Widths");
  ASSERT_NE(key, nullptr);
  ASSERT_EQ(platform::SetStringValue(*key, u"FromWide", u"wide text"), kErrorSuccess);
  ASSERT_EQ(platform::SetStringValue(*key, "FromNarrow", "narrow text"), kErrorSuccess);
  ASSERT_EQ(platform::SetMultiStringValue(*key, u"List", {u"one", u"two"}), kErrorSuccess);
  ASSERT_EQ(platform::SetDwordValue(*key, u"Number", 0x01020304), kErrorSuccess);

  std::string narrow;
  ASSERT_EQ(platform::QueryStringValue(*key, "fromwide", &narrow), kErrorSuccess);
  EXPECT_EQ(narrow, "wide text");
  std::u16string wide;
  ASSERT_EQ(platform::QueryStringValue(*key, u"fromnarrow", &wide), kErrorSuccess);
  EXPECT_EQ(wide, u"narrow text");
  std::vector<std::string> list;
  ASSERT_EQ(platform::QueryMultiStringValue(*key, "List", &list), kErrorSuccess);
  EXPECT_EQ(list, (std::vector<std::string>{"one", "two"}));
  uint32_t number = 0;
  ASSERT_EQ(platform::QueryDwordValue(*key, "Number", &number), kErrorSuccess);
  EXPECT_EQ(number, 0x01020304u);

  std::unique_ptr<RegistryKey> narrow_key;
  EXPECT_EQ(Open("WIDTHS"), kErrorSuccess);
  bool created = false;
  ASSERT_EQ(key->CreateSubKey("Narrow", kKeyAllAccess, &narrow_key, &created), kErrorSuccess);
  std::u16string listed;
  ASSERT_EQ(key->EnumSubKey(0, &listed), kErrorSuccess);
  EXPECT_EQ(listed, u"Narrow");
}

TEST_F(WideRegistryContract, DeletionFollowsTheSameRules) {
  auto key = CreateWide(u"Parent\\Child");
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(
      registry_->DeleteKey(RootKey::kCurrentUser, WidePath(u"Parent"), RegistryView::kDefault),
      kErrorAccessDenied);
  std::unique_ptr<RegistryKey> parent;
  ASSERT_EQ(registry_->OpenKey(RootKey::kCurrentUser, WidePath(u"parent"), kKeyAllAccess,
                               RegistryView::kDefault, &parent),
            kErrorSuccess);
  EXPECT_EQ(parent->DeleteSubKey(u"\\Child"), kErrorBadPathname);
  EXPECT_EQ(parent->DeleteSubKey(u"CHILD"), kErrorSuccess);
  EXPECT_EQ(parent->DeleteSubKey(u"Child"), kErrorFileNotFound);
  EXPECT_EQ(
      registry_->DeleteKey(RootKey::kCurrentUser, WidePath(u"Parent"), RegistryView::kDefault),
      kErrorSuccess);
  std::unique_ptr<RegistryKey> gone;
  EXPECT_EQ(registry_->OpenKey(RootKey::kCurrentUser, WidePath(u"Parent"), kKeyRead,
                               RegistryView::kDefault, &gone),
            kErrorFileNotFound);
}

TEST_F(WideRegistryContract, TheLongestKeyNameEnumeratesWhole) {
  const std::u16string name(255, u'n');
  ASSERT_NE(CreateWide(name), nullptr);
  std::unique_ptr<RegistryKey> parent;
  ASSERT_EQ(registry_->OpenKey(RootKey::kCurrentUser, Wide(base_), kKeyRead, RegistryView::kDefault,
                               &parent),
            kErrorSuccess);
  std::u16string listed;
  ASSERT_EQ(parent->EnumSubKey(0, &listed), kErrorSuccess);
  EXPECT_EQ(listed, name);
}

}  // namespace
