// What the GPU encoder tests share on the host and under Wine: the scalar reference
// coefficients of a frame in the layout the shaders write, the read-back planes captured from
// the Direct3D port, and the comparison of the two.
#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/gpu/core/direct3d_port.h"
#include "bench/tests/support/test_images.h"

namespace vexmark::gpu::testing {

// Three coefficient planes as runs of 8 x 8 blocks (natural order) in raster order.
struct CoefficientRun {
  std::array<std::vector<std::int16_t>, 3> planes;
  std::array<int, 3> blocks_per_row{};
  std::array<int, 3> block_rows{};
};

// The whole blocks of a width x height frame: all luma blocks, and the chroma blocks of the
// complete MCUs (the half blocks at a chroma plane's edges are mirrored, so no reference has them).
CoefficientRun EmptyRunFor(int width, int height);

// The JPEG library's scalar colour conversion, DCT and quantisation of every block of the run.
CoefficientRun ReferenceCoefficients(const ovjpeg::testing::RgbImage& image, int quality);

// The frame as RGBA texels, alpha 255.
std::vector<std::uint8_t> RgbaTexels(const ovjpeg::testing::RgbImage& image);

// Count of each difference (GPU minus reference) over every coefficient of the run.
std::map<int, long> DifferenceHistogram(const CoefficientRun& gpu, const CoefficientRun& reference);
// " difference:count" for each entry.
std::string HistogramText(const std::map<int, long>& histogram);

// Forwards every call to another port and keeps a copy of each read-back texture's rows (tightly
// packed) when it is unmapped: the coefficients as the entropy coder saw them.
class ReadBackCapture final : public Direct3DPort {
 public:
  explicit ReadBackCapture(Direct3DPort& inner) : inner_(inner) {}
  // The whole blocks of the last three read-back textures made (Y, U, V) as last unmapped.
  CoefficientRun Captured(int width, int height) const;

  bool LoadModule(GraphicsModule m, const std::string& n) override {
    return inner_.LoadModule(m, n);
  }
  bool HasFunction(GraphicsModule m, const char* n) override { return inner_.HasFunction(m, n); }
  void UnloadModule(GraphicsModule m) override { inner_.UnloadModule(m); }
  bool CreateDevice() override { return inner_.CreateDevice(); }
  void ReleaseDevice() override { inner_.ReleaseDevice(); }
  ObjectId CreateTexture(const TextureDesc& desc) override;
  ObjectId CreateRenderTargetView(ObjectId t) override { return inner_.CreateRenderTargetView(t); }
  ObjectId CreateShaderResourceView(ObjectId t) override {
    return inner_.CreateShaderResourceView(t);
  }
  std::optional<std::vector<std::uint8_t>> CompileFromFile(const char* f, const char* e,
                                                           const char* p) override {
    return inner_.CompileFromFile(f, e, p);
  }
  ObjectId CreateShader(ShaderKind k, std::span<const std::uint8_t> b) override {
    return inner_.CreateShader(k, b);
  }
  ObjectId CreateInputLayout(std::span<const VertexElement> e,
                             std::span<const std::uint8_t> b) override {
    return inner_.CreateInputLayout(e, b);
  }
  ObjectId CreateBuffer(BufferKind k, std::span<const std::uint8_t> i) override {
    return inner_.CreateBuffer(k, i);
  }
  ObjectId CreateBlendState() override { return inner_.CreateBlendState(); }
  ObjectId CreateSampler(SamplerFilter f) override { return inner_.CreateSampler(f); }
  ObjectId CreateEventQuery() override { return inner_.CreateEventQuery(); }
  void Release(ObjectId o) override { inner_.Release(o); }
  void SetFixedPipeline(const FixedPipeline& p) override { inner_.SetFixedPipeline(p); }
  void SetViewport(int w, int h) override { inner_.SetViewport(w, h); }
  void SetConstantBuffer(ObjectId b) override { inner_.SetConstantBuffer(b); }
  void SetSampler(ObjectId s) override { inner_.SetSampler(s); }
  void SetShaderResource(ObjectId v) override { inner_.SetShaderResource(v); }
  void SetRenderTargets(std::span<const ObjectId> v) override { inner_.SetRenderTargets(v); }
  void SetPixelShader(ObjectId s) override { inner_.SetPixelShader(s); }
  void DrawIndexed(std::uint32_t c, std::uint32_t f, std::int32_t b) override {
    inner_.DrawIndexed(c, f, b);
  }
  void CopyResource(ObjectId d, ObjectId s) override { inner_.CopyResource(d, s); }
  void CopyRegion(ObjectId d, ObjectId s, const CopyBox& b) override { inner_.CopyRegion(d, s, b); }
  void Flush() override { inner_.Flush(); }
  std::optional<MappedTexture> Map(ObjectId texture, MapAccess access) override;
  void Unmap(ObjectId texture) override;
  void BeginQuery(ObjectId q) override { inner_.BeginQuery(q); }
  void EndQuery(ObjectId q) override { inner_.EndQuery(q); }
  QueryStatus GetQueryData(ObjectId q) override { return inner_.GetQueryData(q); }

 private:
  struct ReadBack {
    ObjectId id;
    TextureDesc desc;
    MappedTexture mapping;
    std::vector<std::uint8_t> rows;
  };
  Direct3DPort& inner_;
  std::vector<ReadBack> read_backs_;
};

}  // namespace vexmark::gpu::testing
