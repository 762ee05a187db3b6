#include "bench/gpu/core/mj_gpu_encoder_d3d10.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "bench/jpeg/ijl.h"

namespace vexmark::gpu {
namespace {

constexpr std::size_t kModuleNameSize = 260;
constexpr int kCompilerVersion = 40;
// Waiting for the GPU: this many polls back to back (it is usually done by then), then one
// per millisecond for at most this long, so a hung device cannot hold the benchmark forever.
constexpr int kQuerySpinPolls = 10000;
constexpr std::uint32_t kQueryWaitLimitMs = 10000;

std::span<const std::uint8_t> Bytes(const void* data, std::size_t size) {
  return {static_cast<const std::uint8_t*>(data), size};
}

constexpr VertexElement kQuadLayout[] = {
    {"POSITION", 3, 0},
    {"TEXCOORD", 2, 12},
};

// Unmaps, when it goes, every texture mapped through it.
class MappedTextures {
 public:
  explicit MappedTextures(Direct3DPort& d3d) : d3d_(d3d) {}
  ~MappedTextures() {
    for (ObjectId texture : mapped_) d3d_.Unmap(texture);
  }
  MappedTextures(const MappedTextures&) = delete;
  MappedTextures& operator=(const MappedTextures&) = delete;

  std::optional<MappedTexture> Map(ObjectId texture) {
    std::optional<MappedTexture> mapping = d3d_.Map(texture, MapAccess::kRead);
    if (mapping) mapped_.push_back(texture);
    return mapping;
  }

 private:
  Direct3DPort& d3d_;
  std::vector<ObjectId> mapped_;
};

}  // namespace

MJGPUEncoderD3D10::MJGPUEncoderD3D10(Direct3DPort& d3d, platform::Clock& clock, DebugLog& log,
                                     GpuCaptureDriver* capture_driver)
    : d3d_(d3d), clock_(clock), log_(log), capture_driver_(capture_driver) {}

MJGPUEncoderD3D10::MJGPUEncoderD3D10(std::unique_ptr<Direct3DPort> d3d, platform::Clock& clock,
                                     DebugLog& log, GpuCaptureDriver* capture_driver)
    : owned_port_(std::move(d3d)),
      d3d_(*owned_port_),
      clock_(clock),
      log_(log),
      capture_driver_(capture_driver) {}

MJGPUEncoderD3D10::~MJGPUEncoderD3D10() { ReleaseResources(); }

bool MJGPUEncoderD3D10::CreateContext(int width, int height, int quality) {
  if (width % 8 != 0 || height % 8 != 0 || width <= 0 || height <= 0) {
    log_("MJGPUEncoder::CreateContext: (W,H)=(%d,%d) can not divided by 8!\n", width, height);
    return false;
  }
  ReleaseResources();
  width_ = width;
  height_ = height;
  luma_shape_ = LumaCoefficientShape(width, height);
  chroma_shape_ = ChromaCoefficientShape(width, height);
  source_ready_ = false;
  quality_ = quality;

  if (!d3d_.LoadModule(GraphicsModule::kDirect3D, "d3d10.dll")) {
    log_("MJGPUEncoder::CreateContext: LoadLibrary d3d10.dll failed!\n");
    return false;
  }
  direct3d_loaded_ = true;
  char compiler_name[kModuleNameSize];
  std::snprintf(compiler_name, sizeof(compiler_name), "d3dx10_%2d.dll", kCompilerVersion);
  if (!d3d_.LoadModule(GraphicsModule::kCompiler, compiler_name)) {
    log_("MJGPUEncoder::CreateContext: LoadLibrary %s failed!\n", compiler_name);
    return false;
  }
  compiler_loaded_ = true;
  if (!d3d_.HasFunction(GraphicsModule::kDirect3D, "D3D10CreateDevice") ||
      !d3d_.HasFunction(GraphicsModule::kCompiler, "D3DX10CompileFromFileA") ||
      !d3d_.HasFunction(GraphicsModule::kCompiler, "D3DX10CreateTextureFromFileA") ||
      !d3d_.HasFunction(GraphicsModule::kCompiler, "D3DX10CreateTextureFromMemory")) {
    return false;
  }
  return InitContext();
}

bool MJGPUEncoderD3D10::InitContext() {
  if (!d3d_.CreateDevice()) return false;
  has_device_ = true;
  if (!CreateTextures() || !CreateViews() || !CreateShaders() || !CreateBuffersAndStates()) {
    return false;
  }
  FixedPipeline pipeline;
  pipeline.vertex_shader = r_.vertex_shader;
  pipeline.input_layout = r_.input_layout;
  pipeline.vertex_buffer = r_.vertex_buffer;
  pipeline.vertex_stride = sizeof(QuadVertex);
  pipeline.index_buffer = r_.index_buffer;
  pipeline.blend_state = r_.blend_state;
  d3d_.SetFixedPipeline(pipeline);
  return true;
}

bool MJGPUEncoderD3D10::CreateTextures() {
  const int w = width_;
  const int h = height_;
  const auto renderable = [&](int tw, int th, TexelFormat format) {
    return d3d_.CreateTexture({tw, th, format, TextureUsage::kRenderable});
  };
  const auto read_back = [&](int tw, int th) {
    return d3d_.CreateTexture({tw, th, TexelFormat::kRgba16Sint, TextureUsage::kReadBack});
  };
  // In this order; the first failure ends it.
  return (r_.source = renderable(w, h, TexelFormat::kRgba8Unorm)) &&
         (r_.capture = renderable(w, h, TexelFormat::kRgba8Unorm)) &&
         (r_.y.texture = renderable(w, h / 4, TexelFormat::kRgba8Unorm)) &&
         (r_.u.texture = renderable(w / 2, h / 8, TexelFormat::kRgba8Unorm)) &&
         (r_.v.texture = renderable(w / 2, h / 8, TexelFormat::kRgba8Unorm)) &&
         (r_.luma_temp.texture = renderable(w / 4, h, TexelFormat::kRgba16Float)) &&
         (r_.chroma_temp.texture = renderable(w / 8, h / 2, TexelFormat::kRgba16Float)) &&
         (r_.y_coefficients.texture = renderable(w / 4, h, TexelFormat::kRgba16Sint)) &&
         (r_.u_coefficients.texture = renderable(w / 8, h / 2, TexelFormat::kRgba16Sint)) &&
         (r_.v_coefficients.texture = renderable(w / 8, h / 2, TexelFormat::kRgba16Sint)) &&
         (r_.y_read_back = read_back(w / 4, h)) && (r_.u_read_back = read_back(w / 8, h / 2)) &&
         (r_.v_read_back = read_back(w / 8, h / 2));
}

bool MJGPUEncoderD3D10::CreateViews() {
  const auto both = [&](Plane& p) {
    return (p.render_target = d3d_.CreateRenderTargetView(p.texture)) &&
           (p.resource = d3d_.CreateShaderResourceView(p.texture));
  };
  return (r_.source_resource = d3d_.CreateShaderResourceView(r_.source)) && both(r_.y) &&
         both(r_.u) && both(r_.v) && both(r_.luma_temp) && both(r_.chroma_temp) &&
         (r_.y_coefficients.render_target =
              d3d_.CreateRenderTargetView(r_.y_coefficients.texture)) &&
         (r_.u_coefficients.render_target =
              d3d_.CreateRenderTargetView(r_.u_coefficients.texture)) &&
         (r_.v_coefficients.render_target = d3d_.CreateRenderTargetView(r_.v_coefficients.texture));
}

ObjectId MJGPUEncoderD3D10::CompileShader(const char* entry, const char* profile, ShaderKind kind,
                                          std::vector<std::uint8_t>* bytecode) {
  std::optional<std::vector<std::uint8_t>> code = d3d_.CompileFromFile(kShaderFile, entry, profile);
  if (!code) {
    log_("MJGPUEncoder::InitContext: D3DX10CompileFromFile Dezezo.psh %s failed!\n", entry);
    return kNoObject;
  }
  const ObjectId shader = d3d_.CreateShader(kind, *code);
  if (bytecode != nullptr) *bytecode = std::move(*code);
  return shader;
}

bool MJGPUEncoderD3D10::CreateShaders() {
  std::vector<std::uint8_t> vertex_code;
  r_.vertex_shader = CompileShader("MJPEG_VS", "vs_4_0", ShaderKind::kVertex, &vertex_code);
  if (r_.vertex_shader == kNoObject) return false;
  r_.input_layout = d3d_.CreateInputLayout(kQuadLayout, vertex_code);
  return r_.input_layout &&
         (r_.color_conversion_y =
              CompileShader("ColorConversionY", "ps_4_0", ShaderKind::kPixel)) &&
         (r_.color_conversion_uv =
              CompileShader("ColorConversionUV", "ps_4_0", ShaderKind::kPixel)) &&
         (r_.dct_left = CompileShader("DCT_LeftX", "ps_4_0", ShaderKind::kPixel)) &&
         (r_.dct_right = CompileShader("DCT_RightX", "ps_4_0", ShaderKind::kPixel));
}

bool MJGPUEncoderD3D10::CreateBuffersAndStates() {
  r_.vertex_buffer =
      d3d_.CreateBuffer(BufferKind::kVertex, Bytes(kQuadVertices.data(), sizeof(kQuadVertices)));
  if (!r_.vertex_buffer || !BuildConstantBuffers()) return false;
  return (r_.index_buffer = d3d_.CreateBuffer(BufferKind::kIndex,
                                              Bytes(kQuadIndices.data(), sizeof(kQuadIndices)))) &&
         (r_.blend_state = d3d_.CreateBlendState()) &&
         (r_.point_sampler = d3d_.CreateSampler(SamplerFilter::kPoint)) &&
         (r_.linear_sampler = d3d_.CreateSampler(SamplerFilter::kLinear)) &&
         (r_.event_query = d3d_.CreateEventQuery());
}

bool MJGPUEncoderD3D10::BuildConstantBuffers() {
  const QuantTable32 luminance_table = ScaledLuminanceTable(quality_);
  const QuantTable32 chrominance_table = ScaledChrominanceTable(quality_);
  r_.luminance_constants =
      d3d_.CreateBuffer(BufferKind::kConstant,
                        PlaneConstantBuffer(LuminancePlaneSize(width_, height_), luminance_table));
  if (!r_.luminance_constants) return false;
  r_.chrominance_constants = d3d_.CreateBuffer(
      BufferKind::kConstant,
      PlaneConstantBuffer(ChrominancePlaneSize(width_, height_), chrominance_table));
  return r_.chrominance_constants != kNoObject;
}

void MJGPUEncoderD3D10::ReleaseConstantBuffers() {
  for (ObjectId* buffer : {&r_.luminance_constants, &r_.chrominance_constants}) {
    if (*buffer) d3d_.Release(*buffer);
    *buffer = kNoObject;
  }
}

bool MJGPUEncoderD3D10::SetQuality(int quality) {
  if (quality == quality_) return true;
  quality_ = quality;
  if (!has_device_) return false;
  ReleaseConstantBuffers();
  return BuildConstantBuffers();
}

void MJGPUEncoderD3D10::Draw(ObjectId render_target, ObjectId resource, ObjectId shader) {
  const ObjectId targets[] = {render_target};
  d3d_.SetRenderTargets(targets);
  d3d_.SetShaderResource(resource);
  d3d_.SetPixelShader(shader);
  d3d_.DrawIndexed(kQuadIndexCount, 0, 0);
}

void MJGPUEncoderD3D10::RunGpuPasses() {
  if (!has_device_ || !r_.event_query) return;  // no context, or released after a failure
  const int w = width_;
  const int h = height_;

  d3d_.SetViewport(w, h / 4);
  d3d_.SetConstantBuffer(r_.luminance_constants);
  d3d_.SetSampler(r_.point_sampler);
  Draw(r_.y.render_target, r_.source_resource, r_.color_conversion_y);

  d3d_.SetViewport(w / 4, h);
  Draw(r_.luma_temp.render_target, r_.y.resource, r_.dct_left);
  Draw(r_.y_coefficients.render_target, r_.luma_temp.resource, r_.dct_right);

  d3d_.SetViewport(w / 2, h / 8);
  d3d_.SetConstantBuffer(r_.chrominance_constants);
  d3d_.SetSampler(r_.linear_sampler);
  const ObjectId chroma_targets[] = {r_.u.render_target, r_.v.render_target};
  d3d_.SetRenderTargets(chroma_targets);
  d3d_.SetShaderResource(r_.source_resource);
  d3d_.SetPixelShader(r_.color_conversion_uv);
  d3d_.DrawIndexed(kQuadIndexCount, 0, 0);

  d3d_.SetViewport(w / 8, h / 2);
  d3d_.SetSampler(r_.point_sampler);
  Draw(r_.chroma_temp.render_target, r_.u.resource, r_.dct_left);
  Draw(r_.u_coefficients.render_target, r_.chroma_temp.resource, r_.dct_right);
  Draw(r_.chroma_temp.render_target, r_.v.resource, r_.dct_left);
  Draw(r_.v_coefficients.render_target, r_.chroma_temp.resource, r_.dct_right);

  d3d_.CopyResource(r_.y_read_back, r_.y_coefficients.texture);
  d3d_.CopyResource(r_.u_read_back, r_.u_coefficients.texture);
  d3d_.CopyResource(r_.v_read_back, r_.v_coefficients.texture);
}

bool MJGPUEncoderD3D10::ReadSourceFromMemory(std::span<const std::uint8_t> rgba) {
  const std::size_t row_bytes = static_cast<std::size_t>(width_) * 4;
  if (rgba.size() < row_bytes * height_) return false;
  return ReadSourceFromRows([&](int row, std::uint8_t* texels) {
    std::memcpy(texels, rgba.data() + row * row_bytes, row_bytes);
  });
}

bool MJGPUEncoderD3D10::ReadSourceFromRows(const RgbaRowWriter& write_row) {
  const std::size_t row_bytes = static_cast<std::size_t>(width_) * 4;
  if (!has_device_ || !r_.source) return false;
  if (!r_.upload) {
    r_.upload =
        d3d_.CreateTexture({width_, height_, TexelFormat::kRgba8Unorm, TextureUsage::kUpload});
    if (!r_.upload) return false;
  }
  const std::optional<MappedTexture> mapping = d3d_.Map(r_.upload, MapAccess::kWrite);
  if (!mapping) return false;
  // A pitch that does not hold a row would make the rows overlap and run past the mapping.
  if (mapping->row_pitch < row_bytes) {
    d3d_.Unmap(r_.upload);
    return false;
  }
  for (int row = 0; row < height_; ++row) {
    write_row(row, mapping->data + static_cast<std::size_t>(row) * mapping->row_pitch);
  }
  d3d_.Unmap(r_.upload);
  d3d_.CopyResource(r_.source, r_.upload);
  return true;
}

int MJGPUEncoderD3D10::CaptureOnGpu() {
  if (has_device_ && r_.source) {
    d3d_.Flush();
    if (capture_driver_ != nullptr) capture_driver_->SetRenderState(1, 0);
    d3d_.CopyRegion(r_.source, r_.capture, {0, 0, 0, 1, 1, 1});
    d3d_.Flush();
    if (capture_driver_ != nullptr) capture_driver_->SetRenderState(0, 0);
  }
  source_ready_ = true;
  return 1;
}

bool MJGPUEncoderD3D10::CPUEncodeVLE_IJL(std::span<std::uint8_t> destination, std::uint32_t& size) {
  size = 0;
  if (!has_device_) return false;
  MappedTextures maps(d3d_);
  struct Source {
    ObjectId read_back;
    const CoefficientPlaneShape& shape;
    std::vector<std::int16_t>* block;
  };
  const Source sources[3] = {
      {r_.y_read_back, luma_shape_, &y_block_},
      {r_.u_read_back, chroma_shape_, &u_block_},
      {r_.v_read_back, chroma_shape_, &v_block_},
  };
  // Both sides are multiples of 16 exactly when the chroma planes have no half blocks.
  const bool aligned16 = chroma_shape_.coded_blocks_per_row == chroma_shape_.blocks_per_row &&
                         chroma_shape_.coded_block_rows == chroma_shape_.block_rows;
  std::array<const std::int16_t*, 3> planes{};
  for (int p = 0; p < 3; ++p) {
    const Source& s = sources[p];
    const std::optional<MappedTexture> mapping = maps.Map(s.read_back);
    if (!mapping) return false;
    if (aligned16 && mapping->row_pitch == s.shape.row_bytes) {
      planes[p] = reinterpret_cast<const std::int16_t*>(mapping->data);
      continue;
    }
    if (mapping->row_pitch < s.shape.row_bytes) return false;
    if (s.block->empty()) {
      s.block->assign(
          static_cast<std::size_t>(s.shape.coded_blocks_per_row) * s.shape.coded_block_rows * 64,
          0);
    }
    CopyCoefficientPlane(mapping->data, mapping->row_pitch, s.shape, s.block->data());
    planes[p] = s.block->data();
  }
  return EncodeCoefficients(planes, destination, size);
}

bool MJGPUEncoderD3D10::EncodeCoefficients(const std::array<const std::int16_t*, 3>& planes,
                                           std::span<std::uint8_t> destination,
                                           std::uint32_t& size) {
  const std::size_t frame_bytes = static_cast<std::size_t>(width_) * height_ * 3;
  JPEG_CORE_PROPERTIES props;
  IJLERR status = ijlInit(&props);
  if (status == IJL_OK) {
    props.DIBBytes = nullptr;
    props.DIBWidth = width_;
    props.DIBHeight = height_;
    props.DIBPadBytes = 0;
    props.DIBChannels = 3;
    props.DIBColor = IJL_RGB;
    props.DIBSubsampling = IJL_NONE;
    props.JPGBytes = destination.data();
    // Never past the caller's buffer, which may be smaller than a 24-bit frame.
    props.JPGSizeBytes = static_cast<int>(std::min(frame_bytes, destination.size()));
    props.JPGWidth = width_;
    props.JPGHeight = height_;
    props.JPGChannels = 3;
    props.JPGColor = IJL_YCBCR;
    props.JPGSubsampling = IJL_411;
    props.jquality = quality_;
    props.use_external_qtables = 1;
    props.qtables[0] = ZigzagLuminanceExample().data();
    props.qtables[1] = ZigzagChrominanceExample().data();
    props.qtables[2] = nullptr;
    props.qtables[3] = nullptr;
    props.hsampling = 2;
    props.vsampling = 2;
    props.raw_coefficients = 1;
    const CoefficientPlaneShape* shapes[3] = {&luma_shape_, &chroma_shape_, &chroma_shape_};
    for (int p = 0; p < 3; ++p) {
      props.raw_planes[p] = planes[p];
      props.raw_blocks_per_row[p] = shapes[p]->coded_blocks_per_row;
      props.raw_block_rows[p] = shapes[p]->coded_block_rows;
    }
    status = ijlWrite(&props, IJL_JBUFF_WRITEWHOLEIMAGE);
  }
  ijlFree(&props);
  if (status != IJL_OK) {
    log_("MJGPUEncoder::CPUEncodeVLE_IJL: Jpeg::CPUEncodeVLE failed!\n");
    return false;
  }
  size = static_cast<std::uint32_t>(props.JPGSizeBytes);
  return true;
}

int MJGPUEncoderD3D10::GetEncodingFPS(int count, int mode, std::span<std::uint8_t> destination) {
  if (mode == 0) return 0;
  if (!has_device_) {
    // Released after a failure: nothing runs, so nothing is measured.
    log_("MJGPUEncoder::GetEncodingFPS(mode:0x%x) - EncodingFPS = %d fps\n", mode, 0);
    return 0;
  }
  const std::int64_t frequency = clock_.PerformanceFrequency();
  const std::int64_t first = clock_.PerformanceCounter();
  const std::int64_t timer_cost = clock_.PerformanceCounter() - first;
  d3d_.BeginQuery(r_.event_query);
  const std::int64_t start = clock_.PerformanceCounter();
  for (int round = 0; round < count; ++round) {
    if (mode & kGpuStageCapture) CaptureOnGpu();
    if (mode & kGpuStagePasses) RunGpuPasses();
    if (mode & kGpuStageEntropyCoding) {
      std::uint32_t size = 0;
      CPUEncodeVLE_IJL(destination, size);
    }
  }
  d3d_.EndQuery(r_.event_query);
  const bool finished = WaitForQuery();
  const std::int64_t elapsed = clock_.PerformanceCounter() - start - timer_cost;
  // A clock that did not move, no rounds, or a GPU that never finished measures nothing.
  const int fps = finished && elapsed > 0 && count > 0 && frequency > 0
                      ? static_cast<int>(static_cast<double>(count) * frequency / elapsed)
                      : 0;
  log_("MJGPUEncoder::GetEncodingFPS(mode:0x%x) - EncodingFPS = %d fps\n", mode, fps);
  return fps;
}

bool MJGPUEncoderD3D10::WaitForQuery() {
  std::uint32_t slept_ms = 0;
  for (int polls = 0;; ++polls) {
    const QueryStatus status = d3d_.GetQueryData(r_.event_query);
    if (status != QueryStatus::kNotReady) return status == QueryStatus::kDone;
    if (polls < kQuerySpinPolls) continue;
    if (slept_ms >= kQueryWaitLimitMs) return false;
    clock_.Sleep(1);
    ++slept_ms;
  }
}

void MJGPUEncoderD3D10::ReleaseResources() {
  ObjectId* objects[] = {
      &r_.event_query,
      &r_.linear_sampler,
      &r_.point_sampler,
      &r_.blend_state,
      &r_.index_buffer,
      &r_.chrominance_constants,
      &r_.luminance_constants,
      &r_.vertex_buffer,
      &r_.dct_right,
      &r_.dct_left,
      &r_.color_conversion_uv,
      &r_.color_conversion_y,
      &r_.input_layout,
      &r_.vertex_shader,
      &r_.v_coefficients.render_target,
      &r_.u_coefficients.render_target,
      &r_.y_coefficients.render_target,
      &r_.chroma_temp.resource,
      &r_.chroma_temp.render_target,
      &r_.luma_temp.resource,
      &r_.luma_temp.render_target,
      &r_.v.resource,
      &r_.v.render_target,
      &r_.u.resource,
      &r_.u.render_target,
      &r_.y.resource,
      &r_.y.render_target,
      &r_.source_resource,
      &r_.upload,
      &r_.v_read_back,
      &r_.u_read_back,
      &r_.y_read_back,
      &r_.v_coefficients.texture,
      &r_.u_coefficients.texture,
      &r_.y_coefficients.texture,
      &r_.chroma_temp.texture,
      &r_.luma_temp.texture,
      &r_.v.texture,
      &r_.u.texture,
      &r_.y.texture,
      &r_.capture,
      &r_.source,
  };
  for (ObjectId* object : objects) {
    if (*object) d3d_.Release(*object);
  }
  r_ = Resources{};
  if (has_device_) d3d_.ReleaseDevice();
  has_device_ = false;
  y_block_ = {};
  u_block_ = {};
  v_block_ = {};
  if (compiler_loaded_) d3d_.UnloadModule(GraphicsModule::kCompiler);
  if (direct3d_loaded_) d3d_.UnloadModule(GraphicsModule::kDirect3D);
  compiler_loaded_ = direct3d_loaded_ = false;
}

}  // namespace vexmark::gpu
