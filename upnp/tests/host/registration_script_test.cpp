#include "upnp/core/registration_script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <tuple>

#include "platform/sim/sim_registry.h"
#include "platform/strings.h"
#include "upnp/core/registration.h"

namespace upnp {
namespace {

using platform::RootKey;

// HKEY_CLASSES_ROOT of a simulated registry, seen as the script tests compare it.
class ClassesRoot : public platform::sim::SimRegistry {
 public:
  // (key path, value name, data) for every value, and (path, "", nullopt) for every key
  // without a default value; paths as first created.
  using Item = std::tuple<std::u16string, std::u16string, std::optional<std::u16string>>;

  void Add(std::u16string_view path) { AddKey(RootKey::kClassesRoot, platform::Utf16ToUtf8(path)); }
  bool Has(std::u16string_view path) const { return HasKey(RootKey::kClassesRoot, path); }
  std::set<Item> Dump() const {
    std::set<Item> items;
    for (const std::u16string& name : SubKeys(RootKey::kClassesRoot, u"")) DumpKey(name, &items);
    return items;
  }

 private:
  void DumpKey(const std::u16string& path, std::set<Item>* items) const {
    const std::vector<std::u16string> names = ValueNames(RootKey::kClassesRoot, path);
    if (std::find(names.begin(), names.end(), u"") == names.end()) {
      items->emplace(path, u"", std::nullopt);
    }
    for (const std::u16string& name : names) {
      items->emplace(path, name, GetString(RootKey::kClassesRoot, path, name));
    }
    for (const std::u16string& sub : SubKeys(RootKey::kClassesRoot, path)) {
      DumpKey(path + u"\\" + sub, items);
    }
  }
};

const std::u16string kClassKey = u"CLSID\\{CEBEB26B-B9CE-4F53-B197-08205C3C8BBD}";

// The script resource exactly as the library embeds it.
std::u16string ShippedScript() {
  std::ifstream file(UPNP_REGISTRATION_SCRIPT, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return std::u16string(bytes.begin(), bytes.end());
}

std::set<ClassesRoot::Item> Expected(std::u16string_view module_path,
                                     std::set<ClassesRoot::Item> also = {}) {
  for (const RegistryEntry& entry : RegistrationContent(module_path)) {
    also.emplace(entry.key, entry.value_name, entry.data);
  }
  also.emplace(u"CLSID", u"", std::nullopt);
  return also;
}

class RegistrationScriptTest : public ::testing::Test {
 protected:
  platform::HResult Run(bool register_keys, std::u16string_view module_path) {
    const std::u16string quoted = QuoteForScript(module_path);
    std::vector<ScriptKey> keys;
    const platform::HResult hr =
        ParseRegistrationScript(ShippedScript(), {{u"Module", quoted}}, &keys);
    if (platform::Failed(hr)) return hr;
    return register_keys ? RegisterKeys(keys, registry_) : UnregisterKeys(keys, registry_);
  }

  ClassesRoot registry_;
};

TEST_F(RegistrationScriptTest, RegistrationWritesExactlyTheListedContent) {
  const std::u16string path = u"C:\\Program Files\\Ombrivue\\Ombrivue.dll";
  ASSERT_EQ(Run(true, path), platform::kSOk);
  EXPECT_EQ(registry_.Dump(), Expected(path));
}

TEST_F(RegistrationScriptTest, SingleQuotesInTheModulePathSurvive) {
  const std::u16string path = u"C:\\it's ''here'\\Ombrivue.dll";
  ASSERT_EQ(Run(true, path), platform::kSOk);
  EXPECT_EQ(registry_.Dump(), Expected(path));
}

TEST_F(RegistrationScriptTest, ClassKeyAndProgrammableAreRecreatedFromScratch) {
  registry_.Add(kClassKey + u"\\Stale\\Deeper");
  registry_.Add(kClassKey + u"\\Programmable\\Old");
  registry_.Add(u"CLSID\\{00000000-0000-0000-0000-000000000001}\\InprocServer32");
  ASSERT_EQ(Run(true, u"C:\\x.dll"), platform::kSOk);
  EXPECT_EQ(
      registry_.Dump(),
      Expected(u"C:\\x.dll", {{u"CLSID\\{00000000-0000-0000-0000-000000000001}", u"", std::nullopt},
                              {u"CLSID\\{00000000-0000-0000-0000-000000000001}\\InprocServer32",
                               u"", std::nullopt}}));
}

TEST_F(RegistrationScriptTest, UnregistrationRemovesTheClassTreeAndKeepsClsid) {
  ASSERT_EQ(Run(true, u"C:\\x.dll"), platform::kSOk);
  registry_.Add(kClassKey + u"\\AddedLater\\Deep");
  registry_.Add(u"CLSID\\{00000000-0000-0000-0000-000000000001}");
  ASSERT_EQ(Run(false, u"C:\\x.dll"), platform::kSOk);
  EXPECT_EQ(registry_.Dump(),
            (std::set<ClassesRoot::Item>{
                {u"CLSID", u"", std::nullopt},
                {u"CLSID\\{00000000-0000-0000-0000-000000000001}", u"", std::nullopt}}));
}

TEST_F(RegistrationScriptTest, UnregistrationWithoutRegistrationChangesNothing) {
  registry_.Add(u"CLSID");
  ASSERT_EQ(Run(false, u"C:\\x.dll"), platform::kSOk);
  EXPECT_EQ(registry_.Dump(), (std::set<ClassesRoot::Item>{{u"CLSID", u"", std::nullopt}}));
}

TEST_F(RegistrationScriptTest, ProgIdKeyWithAForeignSubkeyStays) {
  ASSERT_EQ(Run(true, u"C:\\x.dll"), platform::kSOk);
  registry_.Add(u"Ombrivue.Omvo\\Shell");
  ASSERT_EQ(Run(false, u"C:\\x.dll"), platform::kSOk);
  EXPECT_TRUE(registry_.Has(u"Ombrivue.Omvo\\Shell"));
  EXPECT_FALSE(registry_.Has(u"Ombrivue.Omvo\\CLSID"));
  EXPECT_FALSE(registry_.Has(u"Ombrivue.Omvo.1"));
}

TEST_F(RegistrationScriptTest, RegistryFailureIsTheResult) {
  registry_.InjectFailure(platform::sim::RegistryOperation::kSetValue, RootKey::kClassesRoot,
                          "Ombrivue.Omvo.1", platform::kErrorAccessDenied);
  EXPECT_EQ(Run(true, u"C:\\x.dll"), static_cast<platform::HResult>(0x80070005));
}

TEST(RegistrationScriptParse, ReadsFlagsValuesAndNesting) {
  std::vector<ScriptKey> keys;
  ASSERT_EQ(ParseRegistrationScript(u"HKCR { NoRemove A { ForceRemove B = s 'x''y' "
                                    u"{ val N = s '%V%%%' } C } }",
                                    {{u"v", u"1"}}, &keys),
            platform::kSOk);
  ASSERT_EQ(keys.size(), 1u);
  const ScriptKey& a = keys[0];
  EXPECT_TRUE(a.no_remove);
  EXPECT_FALSE(a.default_value);
  ASSERT_EQ(a.subkeys.size(), 2u);
  const ScriptKey& b = a.subkeys[0];
  EXPECT_TRUE(b.force_remove);
  EXPECT_EQ(b.default_value, u"x'y");
  ASSERT_EQ(b.values.size(), 1u);
  EXPECT_EQ(b.values[0].first, u"N");
  EXPECT_EQ(b.values[0].second, u"1%");
  EXPECT_EQ(a.subkeys[1].name, u"C");
}

TEST(RegistrationScriptParse, RejectsNestingBeyondItsLimit) {
  std::u16string script = u"HKCR {";
  for (int i = 0; i < 100; ++i) script += u" K {";
  for (int i = 0; i < 101; ++i) script += u" }";
  std::vector<ScriptKey> keys;
  EXPECT_EQ(ParseRegistrationScript(script, {}, &keys), kScriptSyntaxError);
}

TEST(RegistrationScriptParse, RejectsMalformedScripts) {
  for (std::u16string_view script :
       {u"HKCR { A = s 'open }", u"HKCR { A { }", u"HKLM { A }", u"HKCR { A = d '1' }",
        u"HKCR { A = s '%UNKNOWN%' }", u"HKCR { A = s '%Module' }", u"HKCR { = s 'x' }"}) {
    std::vector<ScriptKey> keys;
    EXPECT_EQ(ParseRegistrationScript(script, {{u"Module", u"m"}}, &keys), kScriptSyntaxError)
        << std::string(script.begin(), script.end());
  }
}

}  // namespace
}  // namespace upnp
