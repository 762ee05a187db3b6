#include "upnp/registration_script.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "fake_script_registry.h"
#include "upnp/registration.h"

namespace upnp {
namespace {

using testing::FakeScriptRegistry;

const std::u16string kClassKey = u"CLSID\\{CEBEB26B-B9CE-4F53-B197-08205C3C8BBD}";

// The script resource exactly as the library embeds it.
std::u16string ShippedScript() {
  std::ifstream file(UPNP_REGISTRATION_SCRIPT, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return std::u16string(bytes.begin(), bytes.end());
}

std::set<FakeScriptRegistry::Item> Expected(std::u16string_view module_path,
                                            std::set<FakeScriptRegistry::Item> also = {}) {
  for (const RegistryEntry& entry : RegistrationContent(module_path)) {
    also.emplace(entry.key, entry.value_name, entry.data);
  }
  also.emplace(u"CLSID", u"", std::nullopt);
  return also;
}

class RegistrationScriptTest : public ::testing::Test {
 protected:
  Hresult Run(bool register_keys, std::u16string_view module_path) {
    const std::u16string quoted = QuoteForScript(module_path);
    std::vector<ScriptKey> keys;
    const Hresult hr = ParseRegistrationScript(ShippedScript(), {{u"Module", quoted}}, &keys);
    if (Failed(hr)) return hr;
    return register_keys ? RegisterKeys(keys, registry_) : UnregisterKeys(keys, registry_);
  }

  FakeScriptRegistry registry_;
};

TEST_F(RegistrationScriptTest, RegistrationWritesExactlyTheListedContent) {
  const std::u16string path = u"C:\\Program Files\\Ombrivue\\Ombrivue.dll";
  ASSERT_EQ(Run(true, path), kSOk);
  EXPECT_EQ(registry_.Dump(), Expected(path));
}

TEST_F(RegistrationScriptTest, SingleQuotesInTheModulePathSurvive) {
  const std::u16string path = u"C:\\it's ''here'\\Ombrivue.dll";
  ASSERT_EQ(Run(true, path), kSOk);
  EXPECT_EQ(registry_.Dump(), Expected(path));
}

TEST_F(RegistrationScriptTest, ClassKeyAndProgrammableAreRecreatedFromScratch) {
  registry_.Add(kClassKey + u"\\Stale\\Deeper");
  registry_.Add(kClassKey + u"\\Programmable\\Old");
  registry_.Add(u"CLSID\\{00000000-0000-0000-0000-000000000001}\\InprocServer32");
  ASSERT_EQ(Run(true, u"C:\\x.dll"), kSOk);
  EXPECT_EQ(
      registry_.Dump(),
      Expected(u"C:\\x.dll", {{u"CLSID\\{00000000-0000-0000-0000-000000000001}", u"", std::nullopt},
                              {u"CLSID\\{00000000-0000-0000-0000-000000000001}\\InprocServer32",
                               u"", std::nullopt}}));
}

TEST_F(RegistrationScriptTest, UnregistrationRemovesTheClassTreeAndKeepsClsid) {
  ASSERT_EQ(Run(true, u"C:\\x.dll"), kSOk);
  registry_.Add(kClassKey + u"\\AddedLater\\Deep");
  registry_.Add(u"CLSID\\{00000000-0000-0000-0000-000000000001}");
  ASSERT_EQ(Run(false, u"C:\\x.dll"), kSOk);
  EXPECT_EQ(registry_.Dump(),
            (std::set<FakeScriptRegistry::Item>{
                {u"CLSID", u"", std::nullopt},
                {u"CLSID\\{00000000-0000-0000-0000-000000000001}", u"", std::nullopt}}));
}

TEST_F(RegistrationScriptTest, UnregistrationWithoutRegistrationChangesNothing) {
  registry_.Add(u"CLSID");
  ASSERT_EQ(Run(false, u"C:\\x.dll"), kSOk);
  EXPECT_EQ(registry_.Dump(), (std::set<FakeScriptRegistry::Item>{{u"CLSID", u"", std::nullopt}}));
}

TEST_F(RegistrationScriptTest, ProgIdKeyWithAForeignSubkeyStays) {
  ASSERT_EQ(Run(true, u"C:\\x.dll"), kSOk);
  registry_.Add(u"Ombrivue.Omvo\\Shell");
  ASSERT_EQ(Run(false, u"C:\\x.dll"), kSOk);
  EXPECT_TRUE(registry_.Has(u"Ombrivue.Omvo\\Shell"));
  EXPECT_FALSE(registry_.Has(u"Ombrivue.Omvo\\CLSID"));
  EXPECT_FALSE(registry_.Has(u"Ombrivue.Omvo.1"));
}

TEST_F(RegistrationScriptTest, RegistryFailureIsTheResult) {
  registry_.FailSetString(static_cast<Hresult>(0x80070005));
  EXPECT_EQ(Run(true, u"C:\\x.dll"), static_cast<Hresult>(0x80070005));
}

TEST(RegistrationScriptParse, ReadsFlagsValuesAndNesting) {
  std::vector<ScriptKey> keys;
  ASSERT_EQ(ParseRegistrationScript(u"HKCR { NoRemove A { ForceRemove B = s 'x''y' "
                                    u"{ val N = s '%V%%%' } C } }",
                                    {{u"v", u"1"}}, &keys),
            kSOk);
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
