// Direct3D 10 and the D3DX10 compiler as the GPU encoder uses them. Objects are named by
// numbers the port hands out (0: none, or a failed creation), so the encoder holds no COM
// pointers and the simulation can compute the passes itself.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vexmark::gpu {

using ObjectId = std::uint32_t;
inline constexpr ObjectId kNoObject = 0;

enum class GraphicsModule { kDirect3D, kCompiler };

enum class TexelFormat {
  kRgba8Unorm,   // DXGI_FORMAT_R8G8B8A8_UNORM
  kRgba16Float,  // DXGI_FORMAT_R16G16B16A16_FLOAT
  kRgba16Sint,   // DXGI_FORMAT_R16G16B16A16_SINT
};

enum class TextureUsage {
  kRenderable,  // default usage, bound as shader resource and render target
  kReadBack,    // staging, CPU read
  kUpload,      // staging, CPU read and write
};

struct TextureDesc {
  int width = 0;
  int height = 0;
  TexelFormat format = TexelFormat::kRgba8Unorm;
  TextureUsage usage = TextureUsage::kRenderable;
};

enum class BufferKind { kVertex, kIndex, kConstant };
enum class SamplerFilter { kPoint, kLinear };
enum class ShaderKind { kVertex, kPixel };
enum class MapAccess { kRead, kWrite };
enum class QueryStatus { kDone, kNotReady, kFailed };

struct MappedTexture {
  std::uint8_t* data = nullptr;
  std::uint32_t row_pitch = 0;
};

// One input-layout element: a float vector of `components` at `offset` in slot 0, per vertex.
struct VertexElement {
  const char* semantic;
  int components;
  std::uint32_t offset;
};

// Pipeline state that stays for every pass.
struct FixedPipeline {
  ObjectId vertex_shader = kNoObject;
  ObjectId input_layout = kNoObject;
  ObjectId vertex_buffer = kNoObject;
  std::uint32_t vertex_stride = 0;
  ObjectId index_buffer = kNoObject;  // 32-bit indices
  ObjectId blend_state = kNoObject;   // sample mask 0xFFFFFFFF, no blend factor
};                                    // no geometry shader, triangle list

struct CopyBox {
  std::uint32_t left, top, front, right, bottom, back;
};

class Direct3DPort {
 public:
  virtual ~Direct3DPort() = default;

  virtual bool LoadModule(GraphicsModule module, const std::string& file_name) = 0;
  virtual bool HasFunction(GraphicsModule module, const char* name) = 0;
  virtual void UnloadModule(GraphicsModule module) = 0;

  // Default adapter, hardware driver, no flags, SDK version 29.
  virtual bool CreateDevice() = 0;
  virtual void ReleaseDevice() = 0;

  virtual ObjectId CreateTexture(const TextureDesc& desc) = 0;
  virtual ObjectId CreateRenderTargetView(ObjectId texture) = 0;
  virtual ObjectId CreateShaderResourceView(ObjectId texture) = 0;
  // The compiled bytecode of `entry` in the shader file, or nothing when it does not compile.
  virtual std::optional<std::vector<std::uint8_t>> CompileFromFile(const char* file,
                                                                   const char* entry,
                                                                   const char* profile) = 0;
  virtual ObjectId CreateShader(ShaderKind kind, std::span<const std::uint8_t> bytecode) = 0;
  virtual ObjectId CreateInputLayout(std::span<const VertexElement> elements,
                                     std::span<const std::uint8_t> vertex_bytecode) = 0;
  // Default usage, with the initial content.
  virtual ObjectId CreateBuffer(BufferKind kind, std::span<const std::uint8_t> initial) = 0;
  // Blending off, write mask 0xF on render targets 0 and 1.
  virtual ObjectId CreateBlendState() = 0;
  // Clamped on u, v and w.
  virtual ObjectId CreateSampler(SamplerFilter filter) = 0;
  virtual ObjectId CreateEventQuery() = 0;
  virtual void Release(ObjectId object) = 0;

  virtual void SetFixedPipeline(const FixedPipeline& pipeline) = 0;
  // Origin (0, 0), depth range 0..1.
  virtual void SetViewport(int width, int height) = 0;
  // Pixel-shader slot 0 each.
  virtual void SetConstantBuffer(ObjectId buffer) = 0;
  virtual void SetSampler(ObjectId sampler) = 0;
  virtual void SetShaderResource(ObjectId view) = 0;
  virtual void SetRenderTargets(std::span<const ObjectId> views) = 0;
  virtual void SetPixelShader(ObjectId shader) = 0;
  virtual void DrawIndexed(std::uint32_t count, std::uint32_t first, std::int32_t base_vertex) = 0;

  virtual void CopyResource(ObjectId destination, ObjectId source) = 0;
  // Copies `box` of the source to (0, 0, 0) of the destination.
  virtual void CopyRegion(ObjectId destination, ObjectId source, const CopyBox& box) = 0;
  virtual void Flush() = 0;
  virtual std::optional<MappedTexture> Map(ObjectId texture, MapAccess access) = 0;
  virtual void Unmap(ObjectId texture) = 0;

  virtual void BeginQuery(ObjectId query) = 0;
  virtual void EndQuery(ObjectId query) = 0;
  // Reads the query's 4 bytes of data with no flags.
  virtual QueryStatus GetQueryData(ObjectId query) = 0;
};

}  // namespace vexmark::gpu
