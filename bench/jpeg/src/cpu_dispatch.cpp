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
    case Isa::kAvx512: {
#if defined(_WIN32)
      // The same stack alignment question, with 64-byte registers; Windows keeps to SSE2.
      return nullptr;
#else
      static const Kernels avx512 = [] {
        Kernels set = kAvx2Kernels;
        set.isa = Isa::kAvx512;
        set.name = "avx512";
        set.zigzag_entries = ZigzagEntriesAvx512;
        return set;
      }();
      const bool supported = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("avx512f") &&
                             __builtin_cpu_supports("avx512bw");
      return supported ? &avx512 : nullptr;
#endif
    }
  }
  return nullptr;
}

const Kernels& BestKernels() {
  static const Kernels* const best = [] {
    for (Isa isa : {Isa::kAvx512, Isa::kAvx2, Isa::kSse2}) {
      if (const Kernels* k = KernelsFor(isa)) return k;
    }
    return &kScalarKernels;
  }();
  return *best;
}

}  // namespace ovjpeg
