#include "bench/gpu/win32/win32_direct3d.h"

#include <cfloat>
#include <cstring>

namespace vexmark::gpu::win32 {
namespace {

using CreateDeviceFunction = HRESULT(WINAPI*)(IDXGIAdapter*, D3D10_DRIVER_TYPE, HMODULE, UINT, UINT,
                                              ID3D10Device**);
using CompileFromFileFunction = HRESULT(WINAPI*)(LPCSTR, const D3D10_SHADER_MACRO*, ID3D10Include*,
                                                 LPCSTR, LPCSTR, UINT, UINT, void* pump,
                                                 ID3D10Blob**, ID3D10Blob**, HRESULT*);

DXGI_FORMAT FormatOf(TexelFormat format) {
  switch (format) {
    case TexelFormat::kRgba8Unorm:
      return DXGI_FORMAT_R8G8B8A8_UNORM;
    case TexelFormat::kRgba16Float:
      return DXGI_FORMAT_R16G16B16A16_FLOAT;
    case TexelFormat::kRgba16Sint:
      return DXGI_FORMAT_R16G16B16A16_SINT;
  }
  return DXGI_FORMAT_UNKNOWN;
}

}  // namespace

bool Win32Direct3D::LoadModule(GraphicsModule module, const std::string& file_name) {
  platform::win32::ScopedModule& slot = modules_[static_cast<int>(module)];
  slot.reset(LoadLibraryA(file_name.c_str()));
  return slot.valid();
}

bool Win32Direct3D::HasFunction(GraphicsModule module, const char* name) {
  HMODULE handle = modules_[static_cast<int>(module)].get();
  return handle != nullptr && GetProcAddress(handle, name) != nullptr;
}

void Win32Direct3D::UnloadModule(GraphicsModule module) {
  modules_[static_cast<int>(module)].reset();
}

bool Win32Direct3D::CreateDevice() {
  HMODULE d3d10 = modules_[static_cast<int>(GraphicsModule::kDirect3D)].get();
  if (d3d10 == nullptr) return false;
  auto create = reinterpret_cast<CreateDeviceFunction>(
      reinterpret_cast<void*>(GetProcAddress(d3d10, "D3D10CreateDevice")));
  if (create == nullptr) return false;
  device_.reset();
  return SUCCEEDED(
      create(nullptr, D3D10_DRIVER_TYPE_HARDWARE, nullptr, 0, D3D10_SDK_VERSION, device_.put()));
}

void Win32Direct3D::ReleaseDevice() {
  objects_.clear();
  if (device_) device_->ClearState();
  device_.reset();
}

ObjectId Win32Direct3D::Add(Object object) {
  const ObjectId id = next_id_++;
  objects_.emplace(id, std::move(object));
  return id;
}

Win32Direct3D::Object* Win32Direct3D::Find(ObjectId id) {
  auto it = objects_.find(id);
  return it == objects_.end() ? nullptr : &it->second;
}

ID3D10Texture2D* Win32Direct3D::TextureOf(ObjectId id) {
  Object* object = Find(id);
  return object ? object->texture.get() : nullptr;
}

ObjectId Win32Direct3D::CreateTexture(const TextureDesc& desc) {
  if (!device_) return kNoObject;
  D3D10_TEXTURE2D_DESC d = {};
  d.Width = static_cast<UINT>(desc.width);
  d.Height = static_cast<UINT>(desc.height);
  d.MipLevels = 1;
  d.ArraySize = 1;
  d.Format = FormatOf(desc.format);
  d.SampleDesc.Count = 1;
  switch (desc.usage) {
    case TextureUsage::kRenderable:
      d.Usage = D3D10_USAGE_DEFAULT;
      d.BindFlags = D3D10_BIND_SHADER_RESOURCE | D3D10_BIND_RENDER_TARGET;
      break;
    case TextureUsage::kReadBack:
      d.Usage = D3D10_USAGE_STAGING;
      d.CPUAccessFlags = D3D10_CPU_ACCESS_READ;
      break;
    case TextureUsage::kUpload:
      d.Usage = D3D10_USAGE_STAGING;
      d.CPUAccessFlags = D3D10_CPU_ACCESS_READ | D3D10_CPU_ACCESS_WRITE;
      break;
  }
  Object object;
  if (FAILED(device_->CreateTexture2D(&d, nullptr, object.texture.put()))) {
    return kNoObject;
  }
  return Add(std::move(object));
}

ObjectId Win32Direct3D::CreateRenderTargetView(ObjectId texture) {
  ID3D10Texture2D* t = TextureOf(texture);
  Object object;
  if (!device_ || t == nullptr ||
      FAILED(device_->CreateRenderTargetView(t, nullptr, object.render_target.put()))) {
    return kNoObject;
  }
  return Add(std::move(object));
}

ObjectId Win32Direct3D::CreateShaderResourceView(ObjectId texture) {
  ID3D10Texture2D* t = TextureOf(texture);
  Object object;
  if (!device_ || t == nullptr ||
      FAILED(device_->CreateShaderResourceView(t, nullptr, object.resource.put()))) {
    return kNoObject;
  }
  return Add(std::move(object));
}

std::optional<std::vector<std::uint8_t>> Win32Direct3D::CompileFromFile(const char* file,
                                                                        const char* entry,
                                                                        const char* profile) {
  HMODULE compiler = modules_[static_cast<int>(GraphicsModule::kCompiler)].get();
  if (compiler == nullptr) return std::nullopt;
  auto compile = reinterpret_cast<CompileFromFileFunction>(
      reinterpret_cast<void*>(GetProcAddress(compiler, "D3DX10CompileFromFileA")));
  if (compile == nullptr) return std::nullopt;
  Com<ID3D10Blob> code;
  Com<ID3D10Blob> errors;
  if (FAILED(compile(file, nullptr, nullptr, entry, profile, 0, 0, nullptr, code.put(),
                     errors.put(), nullptr)) ||
      !code) {
    return std::nullopt;
  }
  const auto* bytes = static_cast<const std::uint8_t*>(code->GetBufferPointer());
  return std::vector<std::uint8_t>(bytes, bytes + code->GetBufferSize());
}

ObjectId Win32Direct3D::CreateShader(ShaderKind kind, std::span<const std::uint8_t> bytecode) {
  if (!device_) return kNoObject;
  Object object;
  const HRESULT hr =
      kind == ShaderKind::kVertex
          ? device_->CreateVertexShader(bytecode.data(), bytecode.size(),
                                        object.vertex_shader.put())
          : device_->CreatePixelShader(bytecode.data(), bytecode.size(), object.pixel_shader.put());
  return SUCCEEDED(hr) ? Add(std::move(object)) : kNoObject;
}

ObjectId Win32Direct3D::CreateInputLayout(std::span<const VertexElement> elements,
                                          std::span<const std::uint8_t> vertex_bytecode) {
  if (!device_ || elements.size() > 8) return kNoObject;
  D3D10_INPUT_ELEMENT_DESC descs[8] = {};
  for (std::size_t i = 0; i < elements.size(); ++i) {
    descs[i].SemanticName = elements[i].semantic;
    descs[i].Format =
        elements[i].components == 3 ? DXGI_FORMAT_R32G32B32_FLOAT : DXGI_FORMAT_R32G32_FLOAT;
    descs[i].AlignedByteOffset = elements[i].offset;
    descs[i].InputSlotClass = D3D10_INPUT_PER_VERTEX_DATA;
  }
  Object object;
  if (FAILED(device_->CreateInputLayout(descs, static_cast<UINT>(elements.size()),
                                        vertex_bytecode.data(), vertex_bytecode.size(),
                                        object.layout.put()))) {
    return kNoObject;
  }
  return Add(std::move(object));
}

ObjectId Win32Direct3D::CreateBuffer(BufferKind kind, std::span<const std::uint8_t> initial) {
  if (!device_) return kNoObject;
  D3D10_BUFFER_DESC d = {};
  d.ByteWidth = static_cast<UINT>(initial.size());
  d.Usage = D3D10_USAGE_DEFAULT;
  d.BindFlags = kind == BufferKind::kVertex  ? D3D10_BIND_VERTEX_BUFFER
                : kind == BufferKind::kIndex ? D3D10_BIND_INDEX_BUFFER
                                             : D3D10_BIND_CONSTANT_BUFFER;
  D3D10_SUBRESOURCE_DATA data = {};
  data.pSysMem = initial.data();
  Object object;
  if (FAILED(device_->CreateBuffer(&d, &data, object.buffer.put()))) return kNoObject;
  return Add(std::move(object));
}

ObjectId Win32Direct3D::CreateBlendState() {
  if (!device_) return kNoObject;
  D3D10_BLEND_DESC d = {};
  d.SrcBlend = D3D10_BLEND_ONE;
  d.DestBlend = D3D10_BLEND_ZERO;
  d.BlendOp = D3D10_BLEND_OP_ADD;
  d.SrcBlendAlpha = D3D10_BLEND_ONE;
  d.DestBlendAlpha = D3D10_BLEND_ZERO;
  d.BlendOpAlpha = D3D10_BLEND_OP_ADD;
  d.RenderTargetWriteMask[0] = D3D10_COLOR_WRITE_ENABLE_ALL;
  d.RenderTargetWriteMask[1] = D3D10_COLOR_WRITE_ENABLE_ALL;
  Object object;
  if (FAILED(device_->CreateBlendState(&d, object.blend.put()))) return kNoObject;
  return Add(std::move(object));
}

ObjectId Win32Direct3D::CreateSampler(SamplerFilter filter) {
  if (!device_) return kNoObject;
  D3D10_SAMPLER_DESC d = {};
  d.Filter = filter == SamplerFilter::kPoint ? D3D10_FILTER_MIN_MAG_MIP_POINT
                                             : D3D10_FILTER_MIN_MAG_MIP_LINEAR;
  d.AddressU = d.AddressV = d.AddressW = D3D10_TEXTURE_ADDRESS_CLAMP;
  d.MaxAnisotropy = 1;
  d.ComparisonFunc = D3D10_COMPARISON_NEVER;
  d.MaxLOD = FLT_MAX;
  Object object;
  if (FAILED(device_->CreateSamplerState(&d, object.sampler.put()))) return kNoObject;
  return Add(std::move(object));
}

ObjectId Win32Direct3D::CreateEventQuery() {
  if (!device_) return kNoObject;
  D3D10_QUERY_DESC d = {D3D10_QUERY_EVENT, 0};
  Object object;
  if (FAILED(device_->CreateQuery(&d, object.query.put()))) return kNoObject;
  return Add(std::move(object));
}

void Win32Direct3D::Release(ObjectId object) { objects_.erase(object); }

void Win32Direct3D::SetFixedPipeline(const FixedPipeline& pipeline) {
  Object* vs = Find(pipeline.vertex_shader);
  Object* layout = Find(pipeline.input_layout);
  Object* vb = Find(pipeline.vertex_buffer);
  Object* ib = Find(pipeline.index_buffer);
  Object* blend = Find(pipeline.blend_state);
  if (!device_ || !vs || !layout || !vb || !ib || !blend) return;
  device_->GSSetShader(nullptr);
  device_->VSSetShader(vs->vertex_shader.get());
  device_->IASetInputLayout(layout->layout.get());
  ID3D10Buffer* buffers[] = {vb->buffer.get()};
  const UINT stride = pipeline.vertex_stride;
  const UINT offset = 0;
  device_->IASetVertexBuffers(0, 1, buffers, &stride, &offset);
  device_->IASetIndexBuffer(ib->buffer.get(), DXGI_FORMAT_R32_UINT, 0);
  // Blending is off, so the factor is never read.
  const FLOAT no_factor[4] = {0, 0, 0, 0};
  device_->OMSetBlendState(blend->blend.get(), no_factor, 0xFFFFFFFF);
  device_->IASetPrimitiveTopology(D3D10_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
}

void Win32Direct3D::SetViewport(int width, int height) {
  if (!device_) return;
  D3D10_VIEWPORT viewport = {0, 0, static_cast<UINT>(width), static_cast<UINT>(height), 0.0f, 1.0f};
  device_->RSSetViewports(1, &viewport);
}

void Win32Direct3D::SetConstantBuffer(ObjectId buffer) {
  Object* object = Find(buffer);
  if (!device_ || object == nullptr) return;
  ID3D10Buffer* buffers[] = {object->buffer.get()};
  device_->PSSetConstantBuffers(0, 1, buffers);
}

void Win32Direct3D::SetSampler(ObjectId sampler) {
  Object* object = Find(sampler);
  if (!device_ || object == nullptr) return;
  ID3D10SamplerState* samplers[] = {object->sampler.get()};
  device_->PSSetSamplers(0, 1, samplers);
}

void Win32Direct3D::SetShaderResource(ObjectId view) {
  Object* object = Find(view);
  if (!device_ || object == nullptr) return;
  ID3D10ShaderResourceView* views[] = {object->resource.get()};
  device_->PSSetShaderResources(0, 1, views);
}

void Win32Direct3D::SetRenderTargets(std::span<const ObjectId> views) {
  if (!device_) return;
  // A texture read by the previous pass may be this pass's target: unbind it first.
  ID3D10ShaderResourceView* none[] = {nullptr};
  device_->PSSetShaderResources(0, 1, none);
  ID3D10RenderTargetView* targets[D3D10_SIMULTANEOUS_RENDER_TARGET_COUNT] = {};
  UINT count = 0;
  for (ObjectId id : views) {
    Object* object = Find(id);
    if (object == nullptr || count == D3D10_SIMULTANEOUS_RENDER_TARGET_COUNT) return;
    targets[count++] = object->render_target.get();
  }
  device_->OMSetRenderTargets(count, targets, nullptr);
}

void Win32Direct3D::SetPixelShader(ObjectId shader) {
  Object* object = Find(shader);
  if (!device_ || object == nullptr) return;
  device_->PSSetShader(object->pixel_shader.get());
}

void Win32Direct3D::DrawIndexed(std::uint32_t count, std::uint32_t first,
                                std::int32_t base_vertex) {
  if (device_) device_->DrawIndexed(count, first, base_vertex);
}

void Win32Direct3D::CopyResource(ObjectId destination, ObjectId source) {
  ID3D10Texture2D* to = TextureOf(destination);
  ID3D10Texture2D* from = TextureOf(source);
  if (device_ && to && from) device_->CopyResource(to, from);
}

void Win32Direct3D::CopyRegion(ObjectId destination, ObjectId source, const CopyBox& box) {
  ID3D10Texture2D* to = TextureOf(destination);
  ID3D10Texture2D* from = TextureOf(source);
  if (!device_ || !to || !from) return;
  const D3D10_BOX b = {box.left, box.top, box.front, box.right, box.bottom, box.back};
  device_->CopySubresourceRegion(to, 0, 0, 0, 0, from, 0, &b);
}

void Win32Direct3D::Flush() {
  if (device_) device_->Flush();
}

std::optional<MappedTexture> Win32Direct3D::Map(ObjectId texture, MapAccess access) {
  ID3D10Texture2D* t = TextureOf(texture);
  if (t == nullptr) return std::nullopt;
  D3D10_MAPPED_TEXTURE2D mapped = {};
  if (FAILED(
          t->Map(0, access == MapAccess::kRead ? D3D10_MAP_READ : D3D10_MAP_WRITE, 0, &mapped))) {
    return std::nullopt;
  }
  return MappedTexture{static_cast<std::uint8_t*>(mapped.pData), mapped.RowPitch};
}

void Win32Direct3D::Unmap(ObjectId texture) {
  if (ID3D10Texture2D* t = TextureOf(texture)) t->Unmap(0);
}

void Win32Direct3D::BeginQuery(ObjectId query) {
  Object* object = Find(query);
  if (object != nullptr && object->query) object->query->Begin();
}

void Win32Direct3D::EndQuery(ObjectId query) {
  Object* object = Find(query);
  if (object != nullptr && object->query) object->query->End();
}

QueryStatus Win32Direct3D::GetQueryData(ObjectId query) {
  Object* object = Find(query);
  if (object == nullptr || !object->query) return QueryStatus::kFailed;
  BOOL done = FALSE;
  const HRESULT hr = object->query->GetData(&done, sizeof(done), 0);
  return hr == S_OK      ? QueryStatus::kDone
         : hr == S_FALSE ? QueryStatus::kNotReady
                         : QueryStatus::kFailed;
}

}  // namespace vexmark::gpu::win32
