#include "bench/sim/sim_direct_draw.h"

namespace vexmark::sim {

namespace {

constexpr std::int32_t kDdErrGeneric = static_cast<std::int32_t>(0x80004005);

class SimDirectDraw7 : public DirectDraw7 {
 public:
  SimDirectDraw7(SimScreen& screen, SimDirectDrawFactory& factory)
      : screen_(screen), factory_(factory), mode_serial_(screen.mode_serial()) {
    ++factory_.live_objects;
  }
  ~SimDirectDraw7() override { --factory_.live_objects; }

  std::int32_t SetCooperativeLevelNormal() override {
    return factory_.fail_cooperative_level ? kDdErrGeneric : kDdOk;
  }
  std::int32_t TestCooperativeLevel() override {
    if (screen_.mode_serial() != mode_serial_) return kDdErrWrongMode;
    if (screen_.exclusive_mode()) return kDdErrExclusiveModeAlreadySet;
    return kDdOk;
  }

 private:
  SimScreen& screen_;
  SimDirectDrawFactory& factory_;
  std::uint32_t mode_serial_;
};

}  // namespace

std::unique_ptr<DirectDraw7> SimDirectDrawFactory::Create() {
  if (fail_create) return nullptr;
  return std::make_unique<SimDirectDraw7>(screen_, *this);
}

}  // namespace vexmark::sim
