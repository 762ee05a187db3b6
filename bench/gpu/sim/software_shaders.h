// The pixel shaders of "Dezezo.psh" computed on the CPU, texel by texel, as the card runs them:
// single-precision arithmetic, results stored in the target's format.
#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "bench/gpu/core/direct3d_port.h"

namespace vexmark::gpu::sim {

struct TexelPlane {
  std::uint8_t* bytes;
  int width;
  int height;
  std::uint32_t row_pitch;
  TexelFormat format;
};

std::uint32_t TexelBytes(TexelFormat format);

// Runs `entry` over every texel of the viewport; false for an unknown entry or missing targets.
bool RunPixelShader(const std::string& entry, std::span<const std::uint8_t> constants,
                    const TexelPlane& source, std::span<const TexelPlane> targets,
                    int viewport_width, int viewport_height);

// Half-float storage, rounding to nearest even.
std::uint16_t FloatToHalf(float value);
float HalfToFloat(std::uint16_t half);

}  // namespace vexmark::gpu::sim
