// The typed registry helpers: the multi-string encoding, type checks, and reading values
// whose size is only known at run time.
#include <gtest/gtest.h>

#include "platform/registry_values.h"
#include "platform/sim/sim_registry.h"

namespace {

using platform::DecodeMultiString;
using platform::EncodeMultiString;
using platform::kErrorInvalidData;
using platform::kErrorMoreData;
using platform::kErrorSuccess;
using platform::kKeyAllAccess;
using platform::RegistryKey;
using platform::RootKey;
using platform::ValueType;
using platform::WinError;
using platform::sim::SimRegistry;
using platform::sim::SimValue;

using Strings = std::vector<std::string>;

std::vector<uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

Strings Decode(std::string_view bytes) {
  return DecodeMultiString(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

TEST(RegistryValues, MultiStringDecodingToleratesMissingTerminators) {
  EXPECT_EQ(Decode(std::string_view("a\0bc\0\0", 6)), (Strings{"a", "bc"}));
  EXPECT_EQ(Decode(std::string_view("a\0bc\0", 5)), (Strings{"a", "bc"}));
  EXPECT_EQ(Decode(std::string_view("a\0bc", 4)), (Strings{"a", "bc"}));
  EXPECT_EQ(Decode(std::string_view("a\0\0hidden\0\0", 11)), (Strings{"a"}))
      << "an empty string ends the list";
  EXPECT_EQ(Decode(std::string_view("\0", 1)), Strings{});
  EXPECT_EQ(Decode(""), Strings{});
  EXPECT_EQ(DecodeMultiString(nullptr, 8), Strings{});
}

TEST(RegistryValues, MultiStringEncodingEndsWithAnEmptyString) {
  EXPECT_EQ(EncodeMultiString({"a", "bc"}), Bytes(std::string_view("a\0bc\0\0", 6)));
  EXPECT_EQ(EncodeMultiString({}), Bytes(std::string_view("\0", 1)));
  EXPECT_EQ(EncodeMultiString({"a", "", "b"}), Bytes(std::string_view("a\0b\0\0", 5)))
      << "an empty string would hide the ones after it";
  EXPECT_EQ(EncodeMultiString({std::string("x\0y", 3)}), Bytes(std::string_view("x\0\0", 3)));
  const Strings round = {"first", "second entry", "3"};
  const auto encoded = EncodeMultiString(round);
  EXPECT_EQ(DecodeMultiString(encoded.data(), encoded.size()), round);
}

class RegistryValuesOnKey : public testing::Test {
 protected:
  void SetUp() override {
    bool created = false;
    ASSERT_EQ(registry_.CreateKey(RootKey::kCurrentUser, "Software\\Vendor", kKeyAllAccess,
                                  platform::RegistryView::kDefault, &key_, &created),
              kErrorSuccess);
  }
  void Put(std::string_view name, ValueType type, std::string_view bytes) {
    registry_.PutValue(RootKey::kCurrentUser, "Software\\Vendor", name,
                       SimValue{type, Bytes(bytes)});
  }

  SimRegistry registry_;
  std::unique_ptr<RegistryKey> key_;
};

TEST_F(RegistryValuesOnKey, QueriesRefuseOtherTypesAndSizes) {
  Put("Expand", ValueType::kExpandString, std::string_view("%x%\0", 4));
  Put("Short", ValueType::kDword, "abc");
  Put("Long", ValueType::kDword, "abcde");
  Put("Text", ValueType::kString, std::string_view("t\0", 2));
  std::string text;
  uint32_t number = 0;
  Strings list;
  EXPECT_EQ(platform::QueryStringValue(*key_, "Expand", &text), kErrorInvalidData);
  EXPECT_EQ(platform::QueryDwordValue(*key_, "Short", &number), kErrorInvalidData);
  EXPECT_EQ(platform::QueryDwordValue(*key_, "Long", &number), kErrorInvalidData);
  EXPECT_EQ(platform::QueryMultiStringValue(*key_, "Text", &list), kErrorInvalidData);
  EXPECT_EQ(platform::QueryDwordValue(*key_, "Text", &number), kErrorInvalidData);
}

TEST_F(RegistryValuesOnKey, StringsEndAtTheirFirstNulOrAtTheEndOfTheData) {
  Put("Bare", ValueType::kString, "abc");
  Put("Embedded", ValueType::kString, std::string_view("ab\0cd\0", 6));
  Put("Empty", ValueType::kString, "");
  std::string text = "unchanged";
  ASSERT_EQ(platform::QueryStringValue(*key_, "Bare", &text), kErrorSuccess);
  EXPECT_EQ(text, "abc");
  ASSERT_EQ(platform::QueryStringValue(*key_, "Embedded", &text), kErrorSuccess);
  EXPECT_EQ(text, "ab");
  ASSERT_EQ(platform::QueryStringValue(*key_, "Empty", &text), kErrorSuccess);
  EXPECT_EQ(text, "");
}

TEST_F(RegistryValuesOnKey, WritersStoreTerminatedData) {
  ASSERT_EQ(platform::SetStringValue(*key_, "Text", "Kestrova"), kErrorSuccess);
  ASSERT_EQ(platform::SetStringValue(*key_, "Empty", ""), kErrorSuccess);
  const auto text = registry_.GetValue(RootKey::kCurrentUser, "Software\\Vendor", "Text");
  const auto empty = registry_.GetValue(RootKey::kCurrentUser, "Software\\Vendor", "Empty");
  ASSERT_TRUE(text && empty);
  EXPECT_EQ(text->type, ValueType::kString);
  EXPECT_EQ(text->data, Bytes(std::string_view("Kestrova\0", 9)));
  EXPECT_EQ(empty->data, Bytes(std::string_view("\0", 1)));
}

// A value that another writer enlarges between the size query and the read.
class GrowingValueKey : public RegistryKey {
 public:
  explicit GrowingValueKey(int growths) : growths_(growths) {}

  WinError QueryValue(std::string_view, ValueType* type, uint8_t* data, uint32_t* size) override {
    *type = ValueType::kString;
    const uint32_t stored = static_cast<uint32_t>(value_.size());
    if (data == nullptr) {
      *size = stored;
      return kErrorSuccess;
    }
    if (growths_ > 0) {
      --growths_;
      value_.insert(value_.begin(), 100, 'g');
    }
    const uint32_t room = *size;
    *size = static_cast<uint32_t>(value_.size());
    if (room < value_.size()) return kErrorMoreData;
    std::copy(value_.begin(), value_.end(), data);
    return kErrorSuccess;
  }
  WinError CreateSubKey(std::string_view, uint32_t, std::unique_ptr<RegistryKey>*, bool*) override {
    return platform::kErrorAccessDenied;
  }
  WinError OpenSubKey(std::string_view, uint32_t, std::unique_ptr<RegistryKey>*) override {
    return platform::kErrorAccessDenied;
  }
  WinError DeleteSubKey(std::string_view) override { return platform::kErrorAccessDenied; }
  WinError EnumSubKey(uint32_t, std::string*) override { return platform::kErrorNoMoreItems; }
  WinError SetValue(std::string_view, ValueType, std::span<const uint8_t>) override {
    return platform::kErrorAccessDenied;
  }
  WinError DeleteValue(std::string_view) override { return platform::kErrorAccessDenied; }
  WinError CreateSubKey(std::u16string_view, uint32_t, std::unique_ptr<RegistryKey>*,
                        bool*) override {
    return platform::kErrorAccessDenied;
  }
  WinError OpenSubKey(std::u16string_view, uint32_t, std::unique_ptr<RegistryKey>*) override {
    return platform::kErrorAccessDenied;
  }
  WinError DeleteSubKey(std::u16string_view) override { return platform::kErrorAccessDenied; }
  WinError EnumSubKey(uint32_t, std::u16string*) override { return platform::kErrorNoMoreItems; }
  WinError SetValue(std::u16string_view, ValueType, std::span<const uint8_t>) override {
    return platform::kErrorAccessDenied;
  }
  WinError QueryValue(std::u16string_view, ValueType*, uint8_t*, uint32_t*) override {
    return platform::kErrorAccessDenied;
  }
  WinError DeleteValue(std::u16string_view) override { return platform::kErrorAccessDenied; }

 private:
  int growths_;
  std::string value_ = std::string("end\0", 4);
};

TEST(RegistryValues, AValueThatGrowsWhileReadIsReadAgain) {
  GrowingValueKey growing_twice(2);
  std::string text;
  ASSERT_EQ(platform::QueryStringValue(growing_twice, "Value", &text), kErrorSuccess);
  EXPECT_EQ(text, std::string(200, 'g') + "end");

  GrowingValueKey growing_always(1000);
  EXPECT_EQ(platform::QueryStringValue(growing_always, "Value", &text), kErrorMoreData)
      << "gives up instead of looping";
}

}  // namespace
