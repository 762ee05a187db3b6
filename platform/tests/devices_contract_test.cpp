// The devices seam as the removal tool and the audio program use it: class lookup, present
// devices with their ids in both text widths, the property buffer protocol, removal, interface
// paths and their device files. The system
// may hold other devices than the ones a test adds, so tests look only at their own.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "devices_subject.h"
#include "platform/strings.h"

namespace platform::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using namespace std::string_literals;

constexpr uint32_t kRegMultiSz = 7;
// A private class GUID keeps the tests' devices apart from those the system already has.
constexpr Guid kTestClassGuid{
    0x7E1C3A55, 0x2B4D, 0x4F10, {0x9A, 0x61, 0x3C, 0x55, 0x0D, 0x1E, 0x42, 0x77}};
constexpr const char* kTestClassName = "OvContractTest";
// KSCATEGORY_AUDIO
constexpr Guid kAudioCategory{
    0x6994AD04, 0x93EF, 0x11D0, {0xA3, 0xCC, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
constexpr Guid kRenderCategory{
    0x65E8773E, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

std::vector<uint8_t> MultiString(const std::vector<std::string>& strings) {
  std::vector<uint8_t> bytes;
  for (const std::string& s : strings) {
    bytes.insert(bytes.end(), s.begin(), s.end());
    bytes.push_back(0);
  }
  bytes.push_back(0);
  return bytes;
}

bool SameId(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) ==
                  std::toupper(static_cast<unsigned char>(y));
         });
}

// The index of the device with this instance id, or nullopt.
std::optional<uint32_t> IndexOf(DeviceInfoList& list, std::string_view instance_id) {
  for (uint32_t i = 0; list.EnumDevice(i); ++i) {
    std::string id;
    if (list.InstanceId(i, 200, &id) && SameId(id, instance_id)) return i;
  }
  return std::nullopt;
}

// Every instance id of the list, for failure messages.
std::string ListedIds(DeviceInfoList& list) {
  std::string ids;
  for (uint32_t i = 0; list.EnumDevice(i); ++i) {
    std::string id;
    ids += list.InstanceId(i, 200, &id) ? "[" + id + "] " : "(unreadable) ";
  }
  return ids;
}

// The property's bytes read with the grow-on-demand protocol; nullopt with the error otherwise.
std::optional<std::vector<uint8_t>> ReadProperty(DeviceInfoList& list, uint32_t index,
                                                 DeviceProperty property, WinError* error) {
  uint32_t type = 0;
  uint32_t required = 0;
  *error = list.RegistryProperty(index, property, &type, nullptr, 0, &required);
  if (*error != kErrorInsufficientBuffer) return std::nullopt;
  std::vector<uint8_t> data(required);
  *error = list.RegistryProperty(index, property, &type, data.data(), required, &required);
  if (*error != kErrorSuccess) return std::nullopt;
  EXPECT_EQ(type, kRegMultiSz);
  return data;
}

class DevicesContractTest : public ::testing::Test {
 protected:
  std::string Add(std::vector<std::string> hardware_ids,
                  std::vector<std::string> compatible_ids = {}) {
    const std::string id = subject_->AddDevice(
        {kTestClassName, kTestClassGuid, std::move(hardware_ids), std::move(compatible_ids)});
    EXPECT_FALSE(id.empty());
    return id;
  }

  bool Present(std::string_view instance_id) {
    auto list = devices().PresentDevices(kTestClassGuid);
    return list != nullptr && IndexOf(*list, instance_id).has_value();
  }

  Devices& devices() { return subject_->devices(); }

  std::unique_ptr<DevicesSubject> subject_ = MakeDevicesSubject();
};

TEST_F(DevicesContractTest, ClassNamesResolveWithoutRegardToCase) {
  const Guid display{0x4D36E968, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
  std::vector<Guid> guids;
  ASSERT_EQ(devices().ClassGuidsFromName("Display", &guids), kErrorSuccess);
  EXPECT_THAT(guids, ElementsAre(display));
  ASSERT_EQ(devices().ClassGuidsFromName("dISPLAY", &guids), kErrorSuccess);
  EXPECT_THAT(guids, ElementsAre(display));
}

TEST_F(DevicesContractTest, UnknownClassNameIsSuccessWithoutGuids) {
  std::vector<Guid> guids{kTestClassGuid};
  EXPECT_EQ(devices().ClassGuidsFromName("OvNoSuchSetupClass", &guids), kErrorSuccess);
  EXPECT_THAT(guids, IsEmpty());
}

TEST_F(DevicesContractTest, AddedClassIsFoundByName) {
  Add({"OV\\CLASSBYNAME"});
  std::vector<Guid> guids;
  ASSERT_EQ(devices().ClassGuidsFromName(kTestClassName, &guids), kErrorSuccess);
  EXPECT_THAT(guids, ElementsAre(kTestClassGuid));
}

TEST_F(DevicesContractTest, PresentDevicesCarryTheirIdsInCreationOrder) {
  const std::string first = Add({"OV\\FIRST", "OV\\FIRST_ALT"}, {"OV\\COMPAT_A", "OV\\COMPAT_B"});
  const std::string second = Add({"*OVSecond"});
  auto list = devices().PresentDevices(kTestClassGuid);
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(list->ReadDetails());
  const auto first_index = IndexOf(*list, first);
  const auto second_index = IndexOf(*list, second);
  ASSERT_TRUE(first_index.has_value()) << first << " not in " << ListedIds(*list);
  ASSERT_TRUE(second_index.has_value());
  EXPECT_LT(*first_index, *second_index);

  WinError error = 0;
  EXPECT_EQ(ReadProperty(*list, *first_index, DeviceProperty::kHardwareIds, &error),
            MultiString({"OV\\FIRST", "OV\\FIRST_ALT"}));
  EXPECT_EQ(ReadProperty(*list, *first_index, DeviceProperty::kCompatibleIds, &error),
            MultiString({"OV\\COMPAT_A", "OV\\COMPAT_B"}));
  EXPECT_EQ(ReadProperty(*list, *second_index, DeviceProperty::kHardwareIds, &error),
            MultiString({"*OVSecond"}));
  EXPECT_EQ(ReadProperty(*list, *second_index, DeviceProperty::kCompatibleIds, &error),
            std::nullopt);
  EXPECT_EQ(error, kErrorInvalidData);
}

TEST_F(DevicesContractTest, PropertyReadReportsTheSizeItNeeds) {
  const std::string id = Add({"OV\\SIZED_ID", "OV\\SIZED"});
  auto list = devices().PresentDevices(kTestClassGuid);
  ASSERT_NE(list, nullptr);
  const auto index = IndexOf(*list, id);
  ASSERT_TRUE(index.has_value());
  const std::vector<uint8_t> expected = MultiString({"OV\\SIZED_ID", "OV\\SIZED"});
  const auto size = static_cast<uint32_t>(expected.size());

  uint32_t type = 0;
  uint32_t required = 0;
  EXPECT_EQ(
      list->RegistryProperty(*index, DeviceProperty::kHardwareIds, &type, nullptr, 0, &required),
      kErrorInsufficientBuffer);
  EXPECT_EQ(required, size);

  std::vector<uint8_t> data(size + 8, 0xCC);
  required = 0;
  EXPECT_EQ(list->RegistryProperty(*index, DeviceProperty::kHardwareIds, &type, data.data(),
                                   size - 1, &required),
            kErrorInsufficientBuffer);
  EXPECT_EQ(required, size);

  EXPECT_EQ(list->RegistryProperty(*index, DeviceProperty::kHardwareIds, &type, data.data(),
                                   size + 8, &required),
            kErrorSuccess);
  EXPECT_EQ(type, kRegMultiSz);
  EXPECT_EQ(required, size);
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), data.begin()));
  EXPECT_EQ(data[size], 0xCC);  // nothing written past the value

  EXPECT_EQ(
      list->RegistryProperty(*index, DeviceProperty::kHardwareIds, &type, nullptr, size, &required),
      kErrorInvalidData);
}

TEST_F(DevicesContractTest, InstanceIdMustFitTheGivenLength) {
  const std::string id = Add({"OV\\IDLENGTH"});
  auto list = devices().PresentDevices(kTestClassGuid);
  ASSERT_NE(list, nullptr);
  const auto index = IndexOf(*list, id);
  ASSERT_TRUE(index.has_value());
  std::string read;
  ASSERT_TRUE(list->InstanceId(*index, id.size(), &read));
  EXPECT_TRUE(SameId(read, id));
  EXPECT_FALSE(list->InstanceId(*index, id.size() - 1, &read));
  EXPECT_FALSE(list->EnumDevice(1000));
}

TEST_F(DevicesContractTest, EmptyListTakesADeviceByInstanceId) {
  const std::string id = Add({"OV\\OPENED"});
  auto list = devices().CreateEmptyList(kTestClassGuid);
  ASSERT_NE(list, nullptr);
  EXPECT_FALSE(list->EnumDevice(0));
  EXPECT_FALSE(list->OpenDevice("ROOT\\OVNOSUCHDEVICE\\0000"));
  ASSERT_TRUE(list->OpenDevice(id));
  ASSERT_TRUE(list->ReadDetails());
  ASSERT_TRUE(list->EnumDevice(0));
  EXPECT_FALSE(list->EnumDevice(1));
  std::string read;
  ASSERT_TRUE(list->InstanceId(0, 200, &read));
  EXPECT_TRUE(SameId(read, id)) << read << " is not " << id;
  WinError error = 0;
  EXPECT_EQ(ReadProperty(*list, 0, DeviceProperty::kHardwareIds, &error),
            MultiString({"OV\\OPENED"}));
}

TEST_F(DevicesContractTest, EmptyListRefusesADeviceOfAnotherClass) {
  const std::string id = Add({"OV\\OTHERCLASS"});
  auto list = devices().CreateEmptyList(kAudioCategory);
  ASSERT_NE(list, nullptr);
  EXPECT_FALSE(list->OpenDevice(id));
  EXPECT_FALSE(list->EnumDevice(0));
}

TEST_F(DevicesContractTest, RemovedDeviceIsGoneFromLaterLists) {
  const std::string kept = Add({"OV\\KEPT"});
  const std::string removed = Add({"OV\\REMOVED"});
  auto list = devices().PresentDevices(kTestClassGuid);
  ASSERT_NE(list, nullptr);
  const auto index = IndexOf(*list, removed);
  ASSERT_TRUE(index.has_value());
  ASSERT_TRUE(list->SetRemoveParams(*index));
  ASSERT_TRUE(list->CallClassInstallerRemove(*index));
  // The member stays in the list. Windows still reads its install parameters; Wine refuses
  // them once the device is gone, so only what can be read is checked.
  EXPECT_TRUE(list->EnumDevice(*index));
  bool needs_restart = false;
  if (list->NeedsRestart(*index, &needs_restart)) {
    EXPECT_FALSE(needs_restart);  // a device without a driver asks for nothing
  }
  std::string id;
  EXPECT_FALSE(list->InstanceId(*index, 200, &id) && id.empty());
  uint32_t required = 0;
  EXPECT_EQ(
      list->RegistryProperty(*index, DeviceProperty::kHardwareIds, nullptr, nullptr, 0, &required),
      0xE000020B);  // ERROR_NO_SUCH_DEVINST

  EXPECT_FALSE(Present(removed));
  EXPECT_TRUE(Present(kept));
  auto empty = devices().CreateEmptyList(kTestClassGuid);
  ASSERT_NE(empty, nullptr);
  EXPECT_FALSE(empty->OpenDevice(removed));
}

TEST_F(DevicesContractTest, WideCallsGiveTheIdsInUtf16WithTheSizeTheyNeed) {
  const std::string id = Add({"OV\\WIDE_ID", "OV\\WIDE"}, {"OV\\WIDE_COMPAT"});
  auto list = devices().WidePresentDevices(kTestClassGuid);
  ASSERT_NE(list, nullptr);
  const auto index = IndexOf(*list, id);
  ASSERT_TRUE(index.has_value());

  const std::u16string ids = u"OV\\WIDE_ID\0OV\\WIDE\0\0"s;
  const auto size = static_cast<uint32_t>(ids.size() * 2);
  uint32_t type = 0;
  uint32_t required = 0;
  EXPECT_EQ(list->WideRegistryProperty(*index, DeviceProperty::kHardwareIds, &type, nullptr, 0,
                                       &required),
            kErrorInsufficientBuffer);
  EXPECT_EQ(required, size);
  std::vector<uint8_t> data(size);
  ASSERT_EQ(list->WideRegistryProperty(*index, DeviceProperty::kHardwareIds, &type, data.data(),
                                       size, &required),
            kErrorSuccess);
  EXPECT_EQ(type, kRegMultiSz);
  EXPECT_EQ(std::memcmp(data.data(), ids.data(), size), 0);

  uint32_t chars = 0;
  EXPECT_EQ(list->WideInstanceId(*index, nullptr, 0, &chars), kErrorInsufficientBuffer);
  ASSERT_EQ(chars, id.size() + 1) << "the terminator counts";
  std::u16string wide(chars, u'x');
  EXPECT_EQ(list->WideInstanceId(*index, wide.data(), chars - 1, &chars), kErrorInsufficientBuffer);
  ASSERT_EQ(list->WideInstanceId(*index, wide.data(), chars, &chars), kErrorSuccess);
  EXPECT_EQ(wide.back(), u'\0');
  EXPECT_TRUE(SameId(Utf16ToUtf8(wide.substr(0, id.size())), id));
}

TEST_F(DevicesContractTest, InterfacesBelongToOneInstanceAndCategoryAndTheirFilesNeedADriver) {
  const std::string owner = Add({"OV\\WITHINTERFACE"});
  const std::string other = Add({"OV\\WITHOUTINTERFACE"});
  const std::string path = subject_->AddInterface(kAudioCategory, owner, "Wave");
  if (path.empty()) GTEST_SKIP() << "the system cannot register device interfaces here";
  WinError error = kErrorInvalidData;
  auto list = devices().InterfaceDevices(kAudioCategory, Utf8ToUtf16(owner), &error);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(error, kErrorSuccess);
  ASSERT_EQ(list->EnumInterface(kAudioCategory, 0), kErrorSuccess);
  EXPECT_EQ(list->EnumInterface(kAudioCategory, 1), kErrorNoMoreItems);
  EXPECT_EQ(list->EnumInterface(kRenderCategory, 0), kErrorNoMoreItems);
  uint32_t chars = 0;
  EXPECT_EQ(list->WideInterfacePath(kAudioCategory, 0, nullptr, 0, &chars),
            kErrorInsufficientBuffer);
  std::u16string read(chars, u'x');
  ASSERT_EQ(list->WideInterfacePath(kAudioCategory, 0, read.data(), chars, &chars), kErrorSuccess);
  EXPECT_EQ(read, Utf8ToUtf16(path) + u'\0');

  auto others = devices().InterfaceDevices(kAudioCategory, Utf8ToUtf16(other), &error);
  ASSERT_NE(others, nullptr);
  EXPECT_EQ(others->EnumInterface(kAudioCategory, 0), kErrorNoMoreItems);

  // No driver stands behind a made device: its interface does not open.
  error = kErrorSuccess;
  EXPECT_EQ(devices().OpenDeviceFile(read.substr(0, read.size() - 1), &error), nullptr);
  EXPECT_NE(error, kErrorSuccess);
}

}  // namespace
}  // namespace platform::testing
