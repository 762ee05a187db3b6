#include "os_version_subject.h"

#include "platform/sim/sim_os_version.h"

namespace platform::testing {

namespace {

class SimOsVersionSubject : public OsVersionSubject {
 public:
  OsVersion& os_version() override { return sim_; }
  OsVersionRecord Expected() override { return sim::WindowsXp(); }
  bool ExpectedWow64() override { return true; }

 private:
  // Not the default, so that the test shows the configured values are the ones reported.
  sim::SimOsVersion sim_ = MakeSim();

  static sim::SimOsVersion MakeSim() {
    sim::SimOsVersion sim(sim::WindowsXp());
    sim.SetWow64(true);
    return sim;
  }
};

}  // namespace

std::unique_ptr<OsVersionSubject> MakeOsVersionSubject() {
  return std::make_unique<SimOsVersionSubject>();
}

}  // namespace platform::testing
