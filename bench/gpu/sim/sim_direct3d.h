// A graphics card in software behind the Direct3D port: it keeps every object, records the calls
// and the draws, and runs the four pixel shaders of "Dezezo.psh" on the CPU with the constant
// buffers the encoder made, storing results in the render targets' formats (8-bit unsigned
// normalised, half float, 16-bit signed). Faults can be injected at each step.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "bench/gpu/core/direct3d_port.h"

namespace vexmark::gpu::sim {

struct SimDirect3DFaults {
  bool missing_direct3d = false;
  bool missing_compiler = false;
  std::string missing_function;  // a look-up that finds nothing
  bool fail_device = false;
  std::string failing_entry;     // a shader entry that does not compile
  int fail_texture_number = -1;  // the n-th CreateTexture (0-based) fails
  bool fail_maps = false;
  int fail_map_number = -1;           // the n-th Map (0-based) fails
  std::uint32_t extra_row_pitch = 0;  // bytes added to every mapped row
  std::uint32_t short_map_pitch = 0;  // bytes a Map's reported pitch falls short of a row
  int query_not_ready_polls = 2;      // polls before the query is done (-1: never)
};

// One draw as the pipeline saw it; objects are named by their creation number within their kind
// (texture 0 is the first texture made), -1 for none.
struct SimDraw {
  std::string shader;
  int viewport_width = 0;
  int viewport_height = 0;
  int constant_buffer = -1;  // buffer number
  SamplerFilter sampler = SamplerFilter::kPoint;
  std::vector<int> targets;  // texture numbers
  int resource = -1;         // texture number
};

class SimDirect3D final : public Direct3DPort {
 public:
  explicit SimDirect3D(SimDirect3DFaults faults = {}) : faults_(std::move(faults)) {}

  bool LoadModule(GraphicsModule module, const std::string& file_name) override;
  bool HasFunction(GraphicsModule module, const char* name) override;
  void UnloadModule(GraphicsModule module) override;
  bool CreateDevice() override;
  void ReleaseDevice() override;
  ObjectId CreateTexture(const TextureDesc& desc) override;
  ObjectId CreateRenderTargetView(ObjectId texture) override;
  ObjectId CreateShaderResourceView(ObjectId texture) override;
  std::optional<std::vector<std::uint8_t>> CompileFromFile(const char* file, const char* entry,
                                                           const char* profile) override;
  ObjectId CreateShader(ShaderKind kind, std::span<const std::uint8_t> bytecode) override;
  ObjectId CreateInputLayout(std::span<const VertexElement> elements,
                             std::span<const std::uint8_t> vertex_bytecode) override;
  ObjectId CreateBuffer(BufferKind kind, std::span<const std::uint8_t> initial) override;
  ObjectId CreateBlendState() override;
  ObjectId CreateSampler(SamplerFilter filter) override;
  ObjectId CreateEventQuery() override;
  void Release(ObjectId object) override;
  void SetFixedPipeline(const FixedPipeline& pipeline) override;
  void SetViewport(int width, int height) override;
  void SetConstantBuffer(ObjectId buffer) override;
  void SetSampler(ObjectId sampler) override;
  void SetShaderResource(ObjectId view) override;
  void SetRenderTargets(std::span<const ObjectId> views) override;
  void SetPixelShader(ObjectId shader) override;
  void DrawIndexed(std::uint32_t count, std::uint32_t first, std::int32_t base_vertex) override;
  void CopyResource(ObjectId destination, ObjectId source) override;
  void CopyRegion(ObjectId destination, ObjectId source, const CopyBox& box) override;
  void Flush() override;
  std::optional<MappedTexture> Map(ObjectId texture, MapAccess access) override;
  void Unmap(ObjectId texture) override;
  void BeginQuery(ObjectId query) override;
  void EndQuery(ObjectId query) override;
  QueryStatus GetQueryData(ObjectId query) override;

  SimDirect3DFaults& faults() { return faults_; }
  // Every call in order, as text: "LoadModule d3d10.dll", "CreateTexture 16x8 rgba8 ...", ...
  const std::vector<std::string>& calls() const { return calls_; }
  const std::vector<SimDraw>& draws() const { return draws_; }
  void ClearRecords();
  // Objects alive now (the device not counted), modules loaded, textures mapped.
  int LiveObjects() const { return static_cast<int>(objects_.size()); }
  int LoadedModules() const;
  int MappedTextures() const;
  bool HasDevice() const { return has_device_; }
  // Content of the n-th buffer or texture made (tightly packed rows for textures).
  const std::vector<std::uint8_t>& BufferContent(int number) const;
  const std::vector<std::uint8_t>& TextureContent(int number) const;
  const TextureDesc& TextureDescription(int number) const;

 private:
  enum class Kind { kTexture, kView, kShader, kLayout, kBuffer, kBlend, kSampler, kQuery };
  struct Object {
    explicit Object(Kind k) : kind(k) {}
    Kind kind;
    int number = 0;  // creation number within the kind
    TextureDesc desc;
    std::vector<std::uint8_t> bytes;  // texture texels, buffer content
    std::uint32_t row_pitch = 0;      // of a texture's bytes
    ObjectId texture = kNoObject;     // of a view
    std::string entry;                // of a shader
    SamplerFilter filter = SamplerFilter::kPoint;
    bool mapped = false;
    int polls = 0;  // of a query since its end
  };

  ObjectId Add(Object object, const std::string& call);
  Object* Find(ObjectId id, Kind kind);
  const Object* FindNumber(Kind kind, int number) const;

  SimDirect3DFaults faults_;
  std::vector<std::string> calls_;
  std::vector<SimDraw> draws_;
  std::map<ObjectId, Object> objects_;
  std::map<Kind, int> made_;
  int maps_ = 0;
  ObjectId next_id_ = 1;
  bool modules_[2] = {false, false};
  bool has_device_ = false;
  int viewport_width_ = 0;
  int viewport_height_ = 0;
  ObjectId constant_buffer_ = kNoObject;
  ObjectId sampler_ = kNoObject;
  ObjectId resource_ = kNoObject;
  std::vector<ObjectId> targets_;
  ObjectId pixel_shader_ = kNoObject;
};

}  // namespace vexmark::gpu::sim
