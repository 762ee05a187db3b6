#include "upnp/core/registration.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/paths.h"

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
  EXPECT_EQ(platform::FolderOf(u"C:\\it's here\\Ombrivue.dll"), u"C:\\it's here\\");
  EXPECT_EQ(platform::FolderOf(u"C:Ombrivue.dll"), u"C:");
  EXPECT_EQ(platform::FolderOf(u"Ombrivue.dll"), u"");
}

class RecordingSteps : public RegistrationSteps {
 public:
  platform::HResult script = platform::kSOk;
  platform::HResult typelib = platform::kSOk;
  std::vector<std::string> calls;

  platform::HResult RunScript(bool register_keys) override {
    calls.push_back(register_keys ? "register script" : "unregister script");
    return script;
  }
  platform::HResult RegisterTypeLibrary() override {
    calls.push_back("register typelib");
    return typelib;
  }
  platform::HResult UnregisterTypeLibrary() override {
    calls.push_back("unregister typelib");
    return typelib;
  }
};

TEST(ServerRegistration, ScriptFailureStopsBeforeTheTypeLibrary) {
  RecordingSteps steps;
  steps.script = platform::kEOutOfMemory;
  EXPECT_EQ(RegisterServer(steps), platform::kEOutOfMemory);
  EXPECT_EQ(steps.calls, std::vector<std::string>{"register script"});
}

TEST(ServerRegistration, TypeLibraryResultIsTheResult) {
  RecordingSteps steps;
  steps.typelib = static_cast<platform::HResult>(0x80029C4A);  // TYPE_E_CANTLOADLIBRARY
  EXPECT_EQ(RegisterServer(steps), static_cast<platform::HResult>(0x80029C4A));
  EXPECT_EQ(steps.calls, (std::vector<std::string>{"register script", "register typelib"}));
}

TEST(ServerRegistration, UnregistrationRunsBothStepsAndSucceeds) {
  RecordingSteps steps;
  steps.script = platform::kEFail;
  steps.typelib = platform::kEFail;
  EXPECT_EQ(UnregisterServer(steps), platform::kSOk);
  EXPECT_EQ(steps.calls, (std::vector<std::string>{"unregister script", "unregister typelib"}));
}

}  // namespace
TEST(TypeLibraryRules, TheOwnFileComesBeforeTheFallback) {
  EXPECT_EQ(
      TypeLibraryCandidates(u"C:\\dir.v2\\Ombrivue.dll"),
      (std::vector<std::u16string>{u"C:\\dir.v2\\Ombrivue.dll", u"C:\\dir.v2\\Ombrivue.tlb"}));
}

TEST(TypeLibraryRules, AMissingUnregisterFunctionCountsAsSuccess) {
  EXPECT_EQ(TypeLibraryUnregistrationResult(std::nullopt), platform::kSOk);
  EXPECT_EQ(TypeLibraryUnregistrationResult(platform::kEFail), platform::kEFail);
  EXPECT_EQ(TypeLibraryUnregistrationResult(platform::kSOk), platform::kSOk);
}

}  // namespace upnp
