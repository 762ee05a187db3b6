// The Direct3D port on Direct3D 10 and the D3DX10 compiler, both loaded at run time.
#pragma once
#include <windows.h>
// d3d10.h needs windows.h first.
#include <d3d10.h>

#include <map>

#include "bench/gpu/core/direct3d_port.h"
#include "platform/com_ptr.h"
#include "platform/win32/scoped_handles.h"

namespace vexmark::gpu::win32 {

class Win32Direct3D final : public Direct3DPort {
 public:
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

 private:
  template <typename T>
  using Com = platform::ComPtr<T>;

  struct Object {
    Com<ID3D10Texture2D> texture;
    Com<ID3D10RenderTargetView> render_target;
    Com<ID3D10ShaderResourceView> resource;
    Com<ID3D10VertexShader> vertex_shader;
    Com<ID3D10PixelShader> pixel_shader;
    Com<ID3D10InputLayout> layout;
    Com<ID3D10Buffer> buffer;
    Com<ID3D10BlendState> blend;
    Com<ID3D10SamplerState> sampler;
    Com<ID3D10Query> query;
  };

  ObjectId Add(Object object);
  Object* Find(ObjectId id);
  ID3D10Texture2D* TextureOf(ObjectId id);

  platform::win32::ScopedModule modules_[2];
  Com<ID3D10Device> device_;
  std::map<ObjectId, Object> objects_;
  ObjectId next_id_ = 1;
};

}  // namespace vexmark::gpu::win32
