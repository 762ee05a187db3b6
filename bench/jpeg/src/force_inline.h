// Inlining the hot path's small helpers into their kernels keeps constants in registers; the
// compiler's own judgement does not always do so across the SIMD wrappers.
#pragma once

#define OVJPEG_FORCE_INLINE inline __attribute__((always_inline))
