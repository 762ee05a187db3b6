// DirectDraw 7, used only to notice another program's exclusive mode and display mode changes.
#pragma once
#include <cstdint>
#include <memory>

namespace vexmark {

inline constexpr std::int32_t kDdOk = 0;
inline constexpr std::int32_t kDdErrExclusiveModeAlreadySet = static_cast<std::int32_t>(0x88760245);
inline constexpr std::int32_t kDdErrWrongMode = static_cast<std::int32_t>(0x8876024B);

class DirectDraw7 {
 public:
  virtual ~DirectDraw7() = default;                      // releases the interface
  virtual std::int32_t SetCooperativeLevelNormal() = 0;  // DDSCL_NORMAL, no window
  virtual std::int32_t TestCooperativeLevel() = 0;
};

class DirectDrawFactory {
 public:
  virtual ~DirectDrawFactory() = default;
  // DirectDrawCreateEx on the default device for IDirectDraw7; nullptr on failure.
  virtual std::unique_ptr<DirectDraw7> Create() = 0;
};

}  // namespace vexmark
