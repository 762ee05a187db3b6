// Registration by regsvr32 as the device host's machine sees it, and unregistration.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "client_support.h"
#include "upnp/core/registration.h"

namespace upnp::client {
namespace {

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

std::wstring ParentOf(const std::wstring& key) {
  const size_t slash = key.rfind(L'\\');
  return slash == std::wstring::npos ? L"" : key.substr(0, slash);
}

std::wstring Lower(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(), ::towlower);
  return text;
}

std::vector<RegistryEntry> ExpectedContent() {
  const std::wstring module = ModulePath();
  return RegistrationContent(std::u16string(module.begin(), module.end()));
}

TEST(Registered, RegistryContentKeyByKey) {
  ASSERT_FALSE(ModulePath().empty()) << "OV_UPNP_MODULE is not set";
  std::map<std::wstring, std::set<std::wstring>> values;    // key -> value names
  std::map<std::wstring, std::set<std::wstring>> children;  // key -> subkey names
  for (const RegistryEntry& entry : ExpectedContent()) {
    const std::wstring key = Wide(entry.key);
    const std::wstring name = Wide(entry.value_name);
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, key)) << key;
    values[key];
    if (entry.data) {
      EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, key, name), Wide(*entry.data)) << key << " " << name;
      values[key].insert(Lower(name));
    } else {
      EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, key, L""), std::nullopt) << key;
    }
    const std::wstring parent = ParentOf(key);
    if (!parent.empty()) children[parent].insert(Lower(key.substr(parent.size() + 1)));
  }
  // Nothing beyond the listed content below the keys registration owns.
  for (const auto& [key, names] : values) {
    std::set<std::wstring> present;
    for (const std::wstring& name : ValueNames(key)) present.insert(Lower(name));
    EXPECT_EQ(present, names) << key;
    if (key == L"CLSID") continue;
    std::set<std::wstring> subkeys;
    for (const std::wstring& name : SubKeyNames(key)) subkeys.insert(Lower(name));
    EXPECT_EQ(subkeys, children[key]) << key;
  }
}

TEST(Registered, TypeLibraryIsRegisteredFromTheLibrary) {
  const std::wstring base = L"TypeLib\\{E514628C-B61B-41F7-975A-01C2128C235D}\\1.0";
  EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, base, L""), L"Ombrivue 1.0 Type Library");
  EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, base + L"\\0\\win32", L""), ModulePath());
  const std::wstring module = ModulePath();
  EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, base + L"\\HELPDIR", L""),
            module.substr(0, module.rfind(L'\\') + 1));
  ITypeLib* library = nullptr;
  ASSERT_EQ(LoadRegTypeLib(LIBID_OMBRIVUELib, 1, 0, LOCALE_NEUTRAL, &library), S_OK);
  library->Release();
}

TEST(Registered, CreatedByBothProgIdsAndTheClsid) {
  for (const wchar_t* progid : {L"Ombrivue.Omvo", L"Ombrivue.Omvo.1"}) {
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(progid, &clsid), S_OK) << progid;
    EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_Omvo)) << progid;
    IUnknown* object = nullptr;
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&object)),
              S_OK);
    object->Release();
  }
}

TEST(Unregistered, KeysAreGoneAndClsidStays) {
  for (const RegistryEntry& entry : ExpectedContent()) {
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, Wide(entry.key))) << Wide(entry.key);
  }
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"CLSID"));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"TypeLib\\{E514628C-B61B-41F7-975A-01C2128C235D}"));
  IUnknown* object = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_Omvo, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void**>(&object)),
            REGDB_E_CLASSNOTREG);
}

}  // namespace
}  // namespace upnp::client
