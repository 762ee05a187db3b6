#include "os_version_subject.h"

#include "platform/win32/win32_os_version.h"

namespace platform::testing {

namespace {

// Wine's default answer: Windows 7 SP1 workstation; in a 32-bit prefix there is no WOW64.
class Win32OsVersionSubject : public OsVersionSubject {
 public:
  OsVersion& os_version() override { return os_; }
  OsVersionRecord Expected() override {
    return {6, 1, 7601, kPlatformWin32Nt, kProductWorkstation};
  }
  bool ExpectedWow64() override { return false; }

 private:
  win32::Win32OsVersion os_;
};

}  // namespace

std::unique_ptr<OsVersionSubject> MakeOsVersionSubject() {
  return std::make_unique<Win32OsVersionSubject>();
}

}  // namespace platform::testing
