#include "kernels.h"

namespace ovjpeg {

const Kernels* KernelsFor(Isa isa) {
  switch (isa) {
    case Isa::kScalar:
      return &kScalarKernels;
    case Isa::kSse2:
      return __builtin_cpu_supports("sse2") ? &kSse2Kernels : nullptr;
    case Isa::kAvx2:
#if defined(_WIN64)
      // 64-bit Windows only guarantees 16-byte stack alignment, and GCC spills 256-bit
      // registers with aligned moves there; that build keeps to SSE2.
      return nullptr;
#else
      return __builtin_cpu_supports("avx2") ? &kAvx2Kernels : nullptr;
#endif
  }
  return nullptr;
}

const Kernels& BestKernels() {
  static const Kernels* const best = [] {
    for (Isa isa : {Isa::kAvx2, Isa::kSse2}) {
      if (const Kernels* k = KernelsFor(isa)) return k;
    }
    return &kScalarKernels;
  }();
  return *best;
}

}  // namespace ovjpeg
