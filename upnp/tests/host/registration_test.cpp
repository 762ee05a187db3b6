#include "upnp/registration.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace upnp {
namespace {

TEST(QuoteForScript, DoublesEverySingleQuote) {
  EXPECT_EQ(QuoteForScript(u"C:\\a\\b.dll"), u"C:\\a\\b.dll");
  EXPECT_EQ(QuoteForScript(u"C:\\it's\\b.dll"), u"C:\\it''s\\b.dll");
  EXPECT_EQ(QuoteForScript(u"''"), u"''''");
  EXPECT_EQ(QuoteForScript(u""), u"");
}

TEST(TypeLibraryPaths, ExtensionIsReplacedOnlyInTheFileName) {
  EXPECT_EQ(TypeLibraryFallbackPath(u"C:\\dir\\Ombrivue.dll"), u"C:\\dir\\Ombrivue.tlb");
  EXPECT_EQ(TypeLibraryFallbackPath(u"C:\\dir.v2\\Ombrivue"), u"C:\\dir.v2\\Ombrivue.tlb");
  EXPECT_EQ(TypeLibraryFallbackPath(u"a.b.dll"), u"a.b.tlb");
}

TEST(TypeLibraryPaths, HelpFolderKeepsItsSeparator) {
  EXPECT_EQ(FolderOf(u"C:\\it's here\\Ombrivue.dll"), u"C:\\it's here\\");
  EXPECT_EQ(FolderOf(u"C:Ombrivue.dll"), u"C:");
  EXPECT_EQ(FolderOf(u"Ombrivue.dll"), u"");
}

class RecordingSteps : public RegistrationSteps {
 public:
  Hresult script = kSOk;
  Hresult typelib = kSOk;
  std::vector<std::string> calls;

  Hresult RunScript(bool register_keys) override {
    calls.push_back(register_keys ? "register script" : "unregister script");
    return script;
  }
  Hresult RegisterTypeLibrary() override {
    calls.push_back("register typelib");
    return typelib;
  }
  Hresult UnregisterTypeLibrary() override {
    calls.push_back("unregister typelib");
    return typelib;
  }
};

TEST(ServerRegistration, ScriptFailureStopsBeforeTheTypeLibrary) {
  RecordingSteps steps;
  steps.script = kEOutOfMemory;
  EXPECT_EQ(RegisterServer(steps), kEOutOfMemory);
  EXPECT_EQ(steps.calls, std::vector<std::string>{"register script"});
}

TEST(ServerRegistration, TypeLibraryResultIsTheResult) {
  RecordingSteps steps;
  steps.typelib = static_cast<Hresult>(0x80029C4A);  // TYPE_E_CANTLOADLIBRARY
  EXPECT_EQ(RegisterServer(steps), static_cast<Hresult>(0x80029C4A));
  EXPECT_EQ(steps.calls, (std::vector<std::string>{"register script", "register typelib"}));
}

TEST(ServerRegistration, UnregistrationRunsBothStepsAndSucceeds) {
  RecordingSteps steps;
  steps.script = kEFail;
  steps.typelib = kEFail;
  EXPECT_EQ(UnregisterServer(steps), kSOk);
  EXPECT_EQ(steps.calls, (std::vector<std::string>{"unregister script", "unregister typelib"}));
}

}  // namespace
}  // namespace upnp
