#include "drvsetup/core/removal_sequence.h"

#include <string>
#include <string_view>

#include "drvsetup/core/component_mask.h"
#include "drvsetup/core/device_removal.h"
#include "drvsetup/core/filter_driver_removal.h"
#include "drvsetup/core/inf_cleanup.h"
#include "drvsetup/core/inf_kinds.h"
#include "drvsetup/core/network_package_removal.h"
#include "drvsetup/core/string_ids.h"

namespace drvsetup {

namespace {

struct DeviceStep {
  uint32_t component;
  std::string_view class_name;
  InfKind inf_kind;
};

constexpr DeviceStep kVfbddStep{kComponentVfbdd, "Display", kInfVfbdd};
constexpr DeviceStep kVqmddStep{kComponentVqmdd, "Display", kInfVqmdd};
constexpr DeviceStep kAudioStep{kComponentVirtualAudio, "Media", kInfVirtualAudio};

static_assert(kVfbddHardwareId.size() < kHardwareIdBufferBytes);
static_assert(kVqmddHardwareId.size() < kHardwareIdBufferBytes);
static_assert(kVirtualAudioHardwareId.size() < kHardwareIdBufferBytes);

constexpr int kProgressWidth = 190;
constexpr int kProgressHeight = 40;

// The device removal, then, unless it failed, the clean-up of the INF files it leaves.
void RunDeviceStep(SetupPorts& ports, const DeviceStep& step, std::string* hardware_id,
                   ProgressBar* progress) {
  hardware_id->assign(step.inf_kind.hardware_id);
  const DeviceRemovalResult result =
      RemoveDevices(ports.devices, ports.strings, ports.code_page, step.class_name, *hardware_id);
  if (progress) progress->StepIt();
  if (result != DeviceRemovalResult::kFailed) {
    CleanUpInfFiles(ports.files, step.inf_kind, {*hardware_id});
  }
}

std::unique_ptr<ProgressBar> CreateProgressWindow(SetupPorts& ports) {
  const WindowRect desktop = ports.progress_windows.DesktopRect();
  ProgressWindowParams params;
  params.title = ports.strings.Load(kIdsRemovingDriver, kMessageBufferChars).value_or("");
  params.left = (desktop.right - 400) / 2;
  params.top = (desktop.bottom - 100) / 2;
  params.width = kProgressWidth;
  params.height = kProgressHeight;
  std::unique_ptr<ProgressBar> progress = ports.progress_windows.Create(params);
  if (progress) {
    progress->SetRange(0, 3);
    progress->SetStep(1);
    progress->StepIt();
    progress->StepIt();
  }
  return progress;
}

}  // namespace

std::unique_ptr<ProgressBar> RunRemovalSequence(SetupPorts& ports, uint32_t components) {
  std::string hardware_id;
  hardware_id.reserve(kHardwareIdBufferBytes);
  std::unique_ptr<ProgressBar> progress;
  if (components & kComponentVfbdd) RunDeviceStep(ports, kVfbddStep, &hardware_id, nullptr);
  if (components & kComponentVqmdd) RunDeviceStep(ports, kVqmddStep, &hardware_id, nullptr);
  if (components & kComponentVirtualAudio) {
    progress = CreateProgressWindow(ports);
    RunDeviceStep(ports, kAudioStep, &hardware_id, progress.get());
  }
  if (components & kComponentFilterDriver) RemoveFilterDriver(ports.registry, ports.files);
  if (components & kComponentNetworkPackage) RemoveNetworkDriverPackage(ports.files, ports.difx);
  return progress;
}

}  // namespace drvsetup
