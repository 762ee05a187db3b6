#include "drvsetup/core/setup_app.h"

#include <memory>

#include "drvsetup/core/command_line.h"
#include "drvsetup/core/component_mask.h"
#include "drvsetup/core/oem_inf_files.h"
#include "drvsetup/core/platform_flags.h"
#include "drvsetup/core/removal_sequence.h"
#include "drvsetup/core/string_ids.h"
#include "platform/paths.h"

namespace drvsetup {

namespace {

constexpr uint32_t kStartDelayMs = 1000;

}  // namespace

CSetupCRApp::CSetupCRApp(SetupPorts& ports) : ports_(ports) {}

int CSetupCRApp::Run(const std::optional<std::string>& command_line) {
  const std::optional<PlatformFlags> flags = DeterminePlatform(ports_.os_version);
  if (!flags) return kExitNormal;
  if (!flags->nt5_or_later) {
    ShowMessage(kIdsUnsupportedPlatform, true);
    return kExitNormal;
  }
  if (flags->wow64) {
    ShowMessage(kIdsRunX64Uninstall, false);
    return kExitNormal;
  }
  const platform::NamedMutexResult mutex = ports_.mutexes.Create(kSingleInstanceMutex);
  if (mutex.kind == platform::NamedMutexResult::Kind::kFailed) return kExitUsage;
  if (mutex.kind == platform::NamedMutexResult::Kind::kAlreadyExisted) return kExitNormal;
  CopyDifxLibrary();
  ports_.sleeper.Sleep(kStartDelayMs);
  if (!command_line) return kExitNoCommandLine;
  const CommandLineOptions options = ParseCommandLine(*command_line);
  if (options.usage) {
    ShowUsage();
    return kExitUsage;
  }
  const std::unique_ptr<ProgressBar> progress = RunRemovalSequence(
      ports_, EffectiveComponentMask(options.components, flags->windows7_or_later));
  if (!options.quiet) ShowMessage(kIdsUninstallCompleted, true);
  return kExitNormal;
}

std::string CSetupCRApp::LoadText(unsigned id) {
  return ports_.strings.Load(id, kMessageBufferChars).value_or("");
}

void CSetupCRApp::ShowMessage(unsigned id, bool topmost) {
  ports_.message_boxes.ShowInformation(kMessageCaption, LoadText(id), topmost);
}

void CSetupCRApp::ShowUsage() {
  const std::string text = LoadText(kIdsUsageArguments) + LoadText(kIdsUsageHeading) + "\n    -?" +
                           std::string(22, ' ') + LoadText(kIdsUsageHelp) + "\n    -s" +
                           std::string(22, ' ') + LoadText(kIdsUsageQuiet);
  ports_.message_boxes.ShowInformation(kMessageCaption, text, true);
}

void CSetupCRApp::CopyDifxLibrary() {
  const std::optional<std::string> program = ports_.files.ModulePath();
  const std::optional<std::string> system = ports_.files.SystemDirectory();
  if (!program || !system || program->size() > kMaxPathChars || system->size() > kMaxPathChars) {
    return;
  }
  const std::string folder = platform::FolderOf(*program);
  if (folder.empty()) return;
  const std::string source = folder + std::string(kDifxLibraryFile);
  if (source.size() <= kMaxPathChars) ports_.files.CopyFile(source, *system);
}

}  // namespace drvsetup
