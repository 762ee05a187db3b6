// What the simulated launcher and mutexes offer beyond the contract: scripts by program name,
// injected start failures, the history of starts and waits, and the names held.
#include "platform/sim/sim_process.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace platform::sim {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Kind = ProcessEvent::Kind;

ShellExecuteRequest Request(std::string file, bool keep = true) {
  ShellExecuteRequest request;
  request.verb = "open";
  request.file = std::move(file);
  request.keep_process = keep;
  return request;
}

TEST(SimProcessLauncherTest, ScriptsMatchByFileNameWithoutFolderOrCase) {
  SimProcessLauncher launcher;
  std::vector<std::string> seen;
  launcher.Script("netsh.exe", [&](const ShellExecuteRequest& request) {
    seen.push_back(request.parameters);
    return 3u;
  });
  ShellExecuteRequest bare = Request("netsh");
  bare.parameters = "firewall";
  auto first = launcher.ShellExecute(bare, nullptr);
  auto second = launcher.ShellExecute(Request("C:\\Windows\\system32\\NETSH.EXE"), nullptr);
  auto other = launcher.ShellExecute(Request("netsh.com"), nullptr);
  EXPECT_THAT(seen, ElementsAre("firewall", ""));
  // The exit code is only final once the process has been waited for.
  EXPECT_EQ(first->ExitCode(), std::nullopt);
  first->Wait();
  EXPECT_EQ(first->ExitCode(), 3u);
  other->Wait();
  EXPECT_EQ(other->ExitCode(), 0u);
}

TEST(SimProcessLauncherTest, HistoryRecordsStartsFailuresAndWaitsInOrder) {
  SimProcessLauncher launcher;
  launcher.FailToStart("SetupOv64.exe", kErrorFileNotFound);
  WinError error = kErrorSuccess;
  EXPECT_EQ(launcher.ShellExecute(Request("C:\\x\\SetupOv64.exe"), &error), nullptr);
  EXPECT_EQ(error, kErrorFileNotFound);
  auto sc = launcher.ShellExecute(Request("sc"), &error);
  EXPECT_EQ(error, kErrorSuccess);
  auto detached = launcher.ShellExecute(Request("netsh", /*keep=*/false), &error);
  detached->Wait();  // nothing to wait on: not a wait
  sc->Wait();
  ASSERT_EQ(launcher.History().size(), 4u);
  EXPECT_EQ(launcher.History()[0].kind, Kind::kFailedToStart);
  EXPECT_EQ(launcher.History()[1].kind, Kind::kStarted);
  EXPECT_EQ(launcher.History()[2].kind, Kind::kStarted);
  EXPECT_EQ(launcher.History()[3].kind, Kind::kWaited);
  EXPECT_EQ(launcher.History()[3].request.file, "sc");
  ASSERT_EQ(launcher.Started().size(), 2u);
  EXPECT_EQ(launcher.Started()[1].file, "netsh");
}

TEST(SimProcessLauncherTest, AScriptMayStartOtherPrograms) {
  SimProcessLauncher launcher;
  launcher.Script("outer.exe", [&](const ShellExecuteRequest&) {
    launcher.Script("inner.exe", [](const ShellExecuteRequest&) { return 9u; });
    auto inner = launcher.ShellExecute(Request("inner.exe"), nullptr);
    inner->Wait();
    return *inner->ExitCode() + 1;
  });
  auto outer = launcher.ShellExecute(Request("outer.exe"), nullptr);
  outer->Wait();
  EXPECT_EQ(outer->ExitCode(), 10u);
  ASSERT_EQ(launcher.Started().size(), 2u);
  EXPECT_EQ(launcher.Started()[1].file, "inner.exe");
}

TEST(SimNamedMutexesTest, HeldNamesFollowTheHandles) {
  SimNamedMutexes mutexes;
  mutexes.HoldElsewhere("{A77C99CC-EFDF-4c38-891E-9F4701C1672C}");
  EXPECT_THAT(mutexes.HeldNames(), IsEmpty());
  auto ours = mutexes.Create("Quandle.exe");
  auto theirs = mutexes.Create("{A77C99CC-EFDF-4c38-891E-9F4701C1672C}");
  EXPECT_EQ(theirs.kind, NamedMutexResult::Kind::kAlreadyExisted);
  EXPECT_THAT(mutexes.HeldNames(),
              ElementsAre("Quandle.exe", "{A77C99CC-EFDF-4c38-891E-9F4701C1672C}"));
  theirs.handle.reset();
  EXPECT_THAT(mutexes.HeldNames(), ElementsAre("Quandle.exe"));
  // A handle outliving its mutexes object does not touch freed state.
  SimNamedMutexes* gone = new SimNamedMutexes;
  auto orphan = gone->Create("x").handle;
  delete gone;
  orphan.reset();
}

TEST(SimNamedMutexesTest, InjectedCreationFailure) {
  SimNamedMutexes mutexes;
  mutexes.FailCreation(true);
  const auto failed = mutexes.Create("VQ-VEXMARK-5f23f187-c01d-4720-81b3-c88bc948634f");
  EXPECT_EQ(failed.kind, NamedMutexResult::Kind::kFailed);
  EXPECT_EQ(failed.handle, nullptr);
  EXPECT_THAT(mutexes.HeldNames(), IsEmpty());
  mutexes.FailCreation(false);
  EXPECT_EQ(mutexes.Create("VQ-VEXMARK-5f23f187-c01d-4720-81b3-c88bc948634f").kind,
            NamedMutexResult::Kind::kCreated);
}

}  // namespace
}  // namespace platform::sim
