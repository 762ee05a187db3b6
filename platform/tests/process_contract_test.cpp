// The process seam as the launcher and the control panel use it: shell starts with verb,
// parameters, working folder and show mode, waiting without limit, exit codes; and the named
// mutex that keeps the deliverables single-instance.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cctype>

#include "process_subject.h"

namespace platform::testing {
namespace {

using ::testing::IsEmpty;
using ::testing::SizeIs;

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

class ProcessContractTest : public ::testing::Test {
 protected:
  void SetUp() override { subject_ = MakeProcessSubject(); }

  ShellExecuteRequest Request(std::string parameters) {
    ShellExecuteRequest request;
    request.verb = "open";
    request.file = subject_->RecorderPath();
    request.parameters = std::move(parameters);
    request.directory = subject_->WorkFolder();
    request.show = kShowHidden;
    request.keep_process = true;
    return request;
  }

  // Starts, waits and returns the exit code.
  std::optional<uint32_t> Run(const ShellExecuteRequest& request) {
    WinError error = 0xDEAD;
    auto process = subject_->launcher().ShellExecute(request, &error);
    EXPECT_NE(process, nullptr);
    if (!process) return std::nullopt;
    EXPECT_EQ(error, kErrorSuccess);
    process->Wait();
    return process->ExitCode();
  }

  std::unique_ptr<ProcessSubject> subject_;
};

TEST_F(ProcessContractTest, StartsHiddenInTheWorkingFolderWaitsAndReadsTheExitCode) {
  subject_->SetExitCode(7);
  EXPECT_EQ(Run(Request("-O 24 -S")), 7u);
  const auto recorded = subject_->Recorded();
  ASSERT_THAT(recorded, SizeIs(1));
  EXPECT_EQ(Upper(recorded[0].program), "OV_RECORDER.EXE");
  EXPECT_EQ(Upper(recorded[0].folder), Upper(subject_->WorkFolder()));
  EXPECT_EQ(recorded[0].parameters, "-O 24 -S");
}

TEST_F(ProcessContractTest, ParametersArriveVerbatimOneStartAfterTheOther) {
  const std::string quoted =
      "advfirewall firewall set rule name=\"Network Discovery (SSDP-In)\" profile=public new "
      "enable=yes";
  const std::string spaced = "firewall add allowedprogram program = C:\\x y\\z.exe name = Skyrow";
  EXPECT_EQ(Run(Request(quoted)), 0u);
  EXPECT_EQ(Run(Request(spaced)), 0u);
  EXPECT_EQ(Run(Request("")), 0u);
  const auto recorded = subject_->Recorded();
  ASSERT_THAT(recorded, SizeIs(3));
  EXPECT_EQ(recorded[0].parameters, quoted);
  EXPECT_EQ(recorded[1].parameters, spaced);
  EXPECT_EQ(recorded[2].parameters, "");
}

TEST_F(ProcessContractTest, TheDefaultVerbStartsAProgramToo) {
  ShellExecuteRequest request = Request("-O 8 -S");
  request.verb.clear();
  request.show = kShowNormal;
  EXPECT_EQ(Run(request), 0u);
  ASSERT_THAT(subject_->Recorded(), SizeIs(1));
  EXPECT_EQ(subject_->Recorded()[0].parameters, "-O 8 -S");
}

TEST_F(ProcessContractTest, ExitCodesPassUnchangedIncludingStillActiveValue) {
  for (uint32_t code : {1u, 259u, 0xC0000005u}) {
    subject_->SetExitCode(code);
    EXPECT_EQ(Run(Request("")), code);
  }
}

TEST_F(ProcessContractTest, WithoutAKeptProcessThereIsNothingToWaitOnOrRead) {
  ShellExecuteRequest request = Request("detached");
  request.keep_process = false;
  WinError error = 0xDEAD;
  auto process = subject_->launcher().ShellExecute(request, &error);
  ASSERT_NE(process, nullptr);
  EXPECT_EQ(error, kErrorSuccess);
  process->Wait();
  EXPECT_EQ(process->ExitCode(), std::nullopt);
}

TEST_F(ProcessContractTest, AMissingProgramDoesNotStart) {
  ShellExecuteRequest request = Request("");
  request.file = subject_->MissingProgram();
  WinError error = kErrorSuccess;
  EXPECT_EQ(subject_->launcher().ShellExecute(request, &error), nullptr);
  EXPECT_EQ(error, kErrorFileNotFound);
  EXPECT_THAT(subject_->Recorded(), IsEmpty());
}

using Kind = NamedMutexResult::Kind;

TEST_F(ProcessContractTest, AMutexExistsWhileAHandleToItIsOpen) {
  NamedMutexResult first = subject_->mutexes().Create("OvContractMutex-1");
  ASSERT_EQ(first.kind, Kind::kCreated);
  EXPECT_NE(first.handle, nullptr);
  NamedMutexResult second = subject_->mutexes().Create("OvContractMutex-1");
  ASSERT_EQ(second.kind, Kind::kAlreadyExisted);
  EXPECT_NE(second.handle, nullptr);
  first.handle.reset();
  EXPECT_EQ(subject_->mutexes().Create("OvContractMutex-1").kind, Kind::kAlreadyExisted);
  second.handle.reset();
  EXPECT_EQ(subject_->mutexes().Create("OvContractMutex-1").kind, Kind::kCreated);
}

TEST_F(ProcessContractTest, MutexNamesAreCaseSensitiveAndMayCarryANamespace) {
  NamedMutexResult upper = subject_->mutexes().Create("OvContractMutex-2");
  EXPECT_EQ(upper.kind, Kind::kCreated);
  EXPECT_EQ(subject_->mutexes().Create("ovcontractmutex-2").kind, Kind::kCreated);
  NamedMutexResult global = subject_->mutexes().Create("Global\\OvContractMutex-2");
  EXPECT_EQ(global.kind, Kind::kCreated);
  EXPECT_EQ(subject_->mutexes().Create("Global\\OvContractMutex-2").kind, Kind::kAlreadyExisted);
  // Unnamed ones never exist already.
  NamedMutexResult unnamed = subject_->mutexes().Create("");
  EXPECT_EQ(unnamed.kind, Kind::kCreated);
  EXPECT_EQ(subject_->mutexes().Create("").kind, Kind::kCreated);
}

TEST_F(ProcessContractTest, AMutexHeldElsewhereAlreadyExistsAndBadNamesFail) {
  subject_->HoldElsewhere("OvContractMutex-3");
  NamedMutexResult held = subject_->mutexes().Create("OvContractMutex-3");
  EXPECT_EQ(held.kind, Kind::kAlreadyExisted);
  EXPECT_NE(held.handle, nullptr);
  // The local namespace is where names without a prefix live.
  NamedMutexResult local = subject_->mutexes().Create("Local\\OvContractMutex-3");
  EXPECT_EQ(local.kind, Kind::kAlreadyExisted);
  for (const char* bad_name : {"Ov\\Contract", "global\\OvContract", "Global\\Ov\\Contract"}) {
    NamedMutexResult bad = subject_->mutexes().Create(bad_name);
    EXPECT_EQ(bad.kind, Kind::kFailed) << bad_name;
    EXPECT_EQ(bad.handle, nullptr) << bad_name;
  }
}

}  // namespace
}  // namespace platform::testing
