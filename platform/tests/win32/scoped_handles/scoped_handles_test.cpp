// Each trait closes its handle with the call that handle needs: afterwards the system no longer
// knows the handle, and the predefined registry roots are never closed.
#include <gtest/gtest.h>

#include "platform/win32/scoped_com_values.h"
#include "platform/win32/scoped_handles.h"

namespace {

using namespace platform::win32;

bool KernelHandleIsOpen(HANDLE handle) {
  DWORD flags = 0;
  return GetHandleInformation(handle, &flags) != 0;
}

TEST(ScopedHandles, KernelHandlesCloseAtTheEndOfTheirScope) {
  HANDLE raw = nullptr;
  {
    ScopedKernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event);
    raw = event.get();
    EXPECT_TRUE(KernelHandleIsOpen(raw));
  }
  EXPECT_FALSE(KernelHandleIsOpen(raw));
  EXPECT_FALSE(ScopedKernelHandle(INVALID_HANDLE_VALUE)) << "a failed CreateFile";
}

TEST(ScopedHandles, FindHandlesCloseAndAFailedSearchIsEmpty) {
  WIN32_FIND_DATAW found;
  wchar_t folder[MAX_PATH];
  ASSERT_NE(GetSystemDirectoryW(folder, MAX_PATH), 0u);
  std::wstring pattern = std::wstring(folder) + L"\\*";
  HANDLE raw = nullptr;
  {
    ScopedFindHandle search(FindFirstFileW(pattern.c_str(), &found));
    ASSERT_TRUE(search);
    raw = search.get();
  }
  EXPECT_FALSE(FindNextFileW(raw, &found)) << "the search was closed";
  ScopedFindHandle missing(FindFirstFileW(L"Z:\\no\\such\\folder\\*", &found));
  EXPECT_FALSE(missing);
}

TEST(ScopedHandles, RegistryKeysCloseButRootsStayOpen) {
  HKEY raw = nullptr;
  {
    ScopedRegistryKey key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.put()), ERROR_SUCCESS);
    raw = key.get();
    ScopedRegistryKey root(HKEY_CURRENT_USER);
  }
  EXPECT_NE(RegQueryInfoKeyW(raw, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  HKEY software = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &software), ERROR_SUCCESS)
      << "the root is still usable";
  RegCloseKey(software);
}

TEST(ScopedHandles, ModulesAreFreed) {
  // A library no other part of this program loads, so its reference count is ours alone.
  {
    ScopedModule module(LoadLibraryW(L"msacm32.dll"));
    ASSERT_TRUE(module);
    EXPECT_NE(GetModuleHandleW(L"msacm32.dll"), nullptr);
  }
  EXPECT_EQ(GetModuleHandleW(L"msacm32.dll"), nullptr);
}

TEST(ScopedHandles, DeviceListsAndGdiObjectsAreDestroyed) {
  {
    ScopedDeviceInfoList list(SetupDiCreateDeviceInfoList(nullptr, nullptr));
    EXPECT_TRUE(list);
  }
  HGDIOBJ raw = nullptr;
  {
    ScopedGdiObject brush(CreateSolidBrush(RGB(1, 2, 3)));
    ASSERT_TRUE(brush);
    raw = brush.get();
    LOGBRUSH info;
    EXPECT_EQ(GetObjectW(raw, sizeof(info), &info), static_cast<int>(sizeof(info)));
  }
  LOGBRUSH info;
  EXPECT_EQ(GetObjectW(raw, sizeof(info), &info), 0) << "the brush was deleted";
  EXPECT_FALSE(ScopedDeviceInfoList(INVALID_HANDLE_VALUE));
}

// An object that only counts the references it is given back.
class CountedUnknown final : public IUnknown {
 public:
  STDMETHODIMP QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
  STDMETHODIMP_(ULONG) Release() override { return --references; }
  ULONG references = 1;
};

TEST(ScopedComValues, StringsKeepTheirLengthAndVariantsReleaseWhatTheyHold) {
  const ScopedBstr text = MakeBstr(std::u16string_view(u"a\0b", 3));
  ASSERT_TRUE(text);
  EXPECT_EQ(BstrView(text.get()), std::u16string_view(u"a\0b", 3)) << "embedded null kept";
  EXPECT_TRUE(BstrView(nullptr).empty()) << "a null string reads as empty";

  CountedUnknown object;
  {
    ScopedVariant value;
    EXPECT_EQ(value.vt, VT_EMPTY);
    object.AddRef();
    value.vt = VT_UNKNOWN;
    value.punkVal = &object;
  }
  EXPECT_EQ(object.references, 1u) << "the variant gave its reference back";
}

}  // namespace
