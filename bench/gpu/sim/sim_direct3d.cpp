#include "bench/gpu/sim/sim_direct3d.h"

#include <algorithm>
#include <cstring>

#include "bench/gpu/sim/software_shaders.h"

namespace vexmark::gpu::sim {
namespace {

const char* FormatName(TexelFormat format) {
  switch (format) {
    case TexelFormat::kRgba8Unorm:
      return "rgba8";
    case TexelFormat::kRgba16Float:
      return "rgba16f";
    case TexelFormat::kRgba16Sint:
      return "rgba16i";
  }
  return "?";
}

const char* UsageName(TextureUsage usage) {
  switch (usage) {
    case TextureUsage::kRenderable:
      return "renderable";
    case TextureUsage::kReadBack:
      return "read-back";
    case TextureUsage::kUpload:
      return "upload";
  }
  return "?";
}

const char* ModuleFunctions(GraphicsModule module) {
  return module == GraphicsModule::kDirect3D
             ? "|D3D10CreateDevice|"
             : "|D3DX10CompileFromFileA|D3DX10CreateTextureFromFileA|"
               "D3DX10CreateTextureFromMemory|";
}

bool KnownEntry(const std::string& entry, const std::string& profile) {
  if (entry == "MJPEG_VS") return profile == "vs_4_0";
  return profile == "ps_4_0" && (entry == "ColorConversionY" || entry == "ColorConversionUV" ||
                                 entry == "DCT_LeftX" || entry == "DCT_RightX");
}

}  // namespace

ObjectId SimDirect3D::Add(Object object, const std::string& call) {
  object.number = made_[object.kind]++;
  const ObjectId id = next_id_++;
  calls_.push_back(call + " #" + std::to_string(object.number));
  objects_.emplace(id, std::move(object));
  return id;
}

SimDirect3D::Object* SimDirect3D::Find(ObjectId id, Kind kind) {
  auto it = objects_.find(id);
  return it != objects_.end() && it->second.kind == kind ? &it->second : nullptr;
}

const SimDirect3D::Object* SimDirect3D::FindNumber(Kind kind, int number) const {
  for (const auto& [id, object] : objects_) {
    if (object.kind == kind && object.number == number) return &object;
  }
  return nullptr;
}

bool SimDirect3D::LoadModule(GraphicsModule module, const std::string& file_name) {
  calls_.push_back("LoadModule " + file_name);
  const bool missing = module == GraphicsModule::kDirect3D
                           ? faults_.missing_direct3d || file_name != "d3d10.dll"
                           : faults_.missing_compiler || file_name != "d3dx10_40.dll";
  modules_[static_cast<int>(module)] = !missing;
  return !missing;
}

bool SimDirect3D::HasFunction(GraphicsModule module, const char* name) {
  calls_.push_back(std::string("HasFunction ") + name);
  const std::string listed = std::string("|") + name + "|";
  return modules_[static_cast<int>(module)] && faults_.missing_function != name &&
         std::string(ModuleFunctions(module)).find(listed) != std::string::npos;
}

void SimDirect3D::UnloadModule(GraphicsModule module) {
  calls_.push_back(module == GraphicsModule::kDirect3D ? "UnloadModule d3d10"
                                                       : "UnloadModule d3dx10");
  modules_[static_cast<int>(module)] = false;
}

int SimDirect3D::LoadedModules() const { return modules_[0] + modules_[1]; }

bool SimDirect3D::CreateDevice() {
  calls_.push_back("CreateDevice");
  has_device_ = modules_[0] && !faults_.fail_device;
  return has_device_;
}

void SimDirect3D::ReleaseDevice() {
  calls_.push_back("ReleaseDevice");
  has_device_ = false;
}

ObjectId SimDirect3D::CreateTexture(const TextureDesc& desc) {
  if (!has_device_ || made_[Kind::kTexture] == faults_.fail_texture_number || desc.width <= 0 ||
      desc.height <= 0) {
    made_[Kind::kTexture]++;
    calls_.push_back("CreateTexture failed");
    return kNoObject;
  }
  Object t{Kind::kTexture};
  t.desc = desc;
  t.row_pitch = desc.width * TexelBytes(desc.format) + faults_.extra_row_pitch;
  t.bytes.assign(static_cast<std::size_t>(t.row_pitch) * desc.height, 0);
  return Add(std::move(t), "CreateTexture " + std::to_string(desc.width) + "x" +
                               std::to_string(desc.height) + " " + FormatName(desc.format) + " " +
                               UsageName(desc.usage));
}

ObjectId SimDirect3D::CreateRenderTargetView(ObjectId texture) {
  Object* t = Find(texture, Kind::kTexture);
  if (t == nullptr || t->desc.usage != TextureUsage::kRenderable) return kNoObject;
  Object view{Kind::kView};
  view.texture = texture;
  return Add(std::move(view), "CreateRenderTargetView texture #" + std::to_string(t->number));
}

ObjectId SimDirect3D::CreateShaderResourceView(ObjectId texture) {
  Object* t = Find(texture, Kind::kTexture);
  if (t == nullptr || t->desc.usage != TextureUsage::kRenderable) return kNoObject;
  Object view{Kind::kView};
  view.texture = texture;
  return Add(std::move(view), "CreateShaderResourceView texture #" + std::to_string(t->number));
}

std::optional<std::vector<std::uint8_t>> SimDirect3D::CompileFromFile(const char* file,
                                                                      const char* entry,
                                                                      const char* profile) {
  calls_.push_back(std::string("Compile ") + file + " " + entry + " " + profile);
  if (!modules_[1] || entry == faults_.failing_entry || !KnownEntry(entry, profile)) {
    return std::nullopt;
  }
  return std::vector<std::uint8_t>(entry, entry + std::strlen(entry));
}

ObjectId SimDirect3D::CreateShader(ShaderKind kind, std::span<const std::uint8_t> bytecode) {
  if (!has_device_ || bytecode.empty()) return kNoObject;
  Object shader{Kind::kShader};
  shader.entry.assign(bytecode.begin(), bytecode.end());
  const std::string call =
      (kind == ShaderKind::kVertex ? "CreateVertexShader " : "CreatePixelShader ") + shader.entry;
  return Add(std::move(shader), call);
}

ObjectId SimDirect3D::CreateInputLayout(std::span<const VertexElement> elements,
                                        std::span<const std::uint8_t> vertex_bytecode) {
  if (!has_device_ || vertex_bytecode.empty()) return kNoObject;
  std::string call = "CreateInputLayout";
  for (const VertexElement& e : elements) {
    call += " " + std::string(e.semantic) + "/" + std::to_string(e.components) + "@" +
            std::to_string(e.offset);
  }
  return Add(Object{Kind::kLayout}, call);
}

ObjectId SimDirect3D::CreateBuffer(BufferKind kind, std::span<const std::uint8_t> initial) {
  if (!has_device_) return kNoObject;
  Object buffer{Kind::kBuffer};
  buffer.bytes.assign(initial.begin(), initial.end());
  const char* name = kind == BufferKind::kVertex  ? "vertex"
                     : kind == BufferKind::kIndex ? "index"
                                                  : "constant";
  return Add(std::move(buffer),
             std::string("CreateBuffer ") + name + " " + std::to_string(initial.size()));
}

ObjectId SimDirect3D::CreateBlendState() {
  return has_device_ ? Add(Object{Kind::kBlend}, "CreateBlendState") : kNoObject;
}

ObjectId SimDirect3D::CreateSampler(SamplerFilter filter) {
  if (!has_device_) return kNoObject;
  Object sampler{Kind::kSampler};
  sampler.filter = filter;
  return Add(std::move(sampler),
             filter == SamplerFilter::kPoint ? "CreateSampler point" : "CreateSampler linear");
}

ObjectId SimDirect3D::CreateEventQuery() {
  return has_device_ ? Add(Object{Kind::kQuery}, "CreateEventQuery") : kNoObject;
}

void SimDirect3D::Release(ObjectId object) {
  calls_.push_back("Release");
  objects_.erase(object);
}

void SimDirect3D::SetFixedPipeline(const FixedPipeline& pipeline) {
  const bool complete =
      Find(pipeline.vertex_shader, Kind::kShader) && Find(pipeline.input_layout, Kind::kLayout) &&
      Find(pipeline.vertex_buffer, Kind::kBuffer) && Find(pipeline.index_buffer, Kind::kBuffer) &&
      Find(pipeline.blend_state, Kind::kBlend);
  calls_.push_back("SetFixedPipeline stride " + std::to_string(pipeline.vertex_stride) +
                   (complete ? "" : " incomplete"));
}

void SimDirect3D::SetViewport(int width, int height) {
  viewport_width_ = width;
  viewport_height_ = height;
}
void SimDirect3D::SetConstantBuffer(ObjectId buffer) { constant_buffer_ = buffer; }
void SimDirect3D::SetSampler(ObjectId sampler) { sampler_ = sampler; }
void SimDirect3D::SetShaderResource(ObjectId view) { resource_ = view; }
void SimDirect3D::SetRenderTargets(std::span<const ObjectId> views) {
  targets_.assign(views.begin(), views.end());
}
void SimDirect3D::SetPixelShader(ObjectId shader) { pixel_shader_ = shader; }

void SimDirect3D::DrawIndexed(std::uint32_t count, std::uint32_t first, std::int32_t base_vertex) {
  Object* shader = Find(pixel_shader_, Kind::kShader);
  Object* constants = Find(constant_buffer_, Kind::kBuffer);
  Object* sampler = Find(sampler_, Kind::kSampler);
  Object* view = Find(resource_, Kind::kView);
  Object* source = view ? Find(view->texture, Kind::kTexture) : nullptr;
  SimDraw draw;
  draw.shader = shader ? shader->entry : "";
  draw.viewport_width = viewport_width_;
  draw.viewport_height = viewport_height_;
  draw.constant_buffer = constants ? constants->number : -1;
  draw.sampler = sampler ? sampler->filter : SamplerFilter::kPoint;
  draw.resource = source ? source->number : -1;
  std::vector<TexelPlane> planes;
  for (ObjectId id : targets_) {
    Object* target_view = Find(id, Kind::kView);
    Object* target = target_view ? Find(target_view->texture, Kind::kTexture) : nullptr;
    draw.targets.push_back(target ? target->number : -1);
    if (target == nullptr) continue;
    planes.push_back({target->bytes.data(), target->desc.width, target->desc.height,
                      target->row_pitch, target->desc.format});
  }
  calls_.push_back("DrawIndexed " + std::to_string(count) + " " + std::to_string(first) + " " +
                   std::to_string(base_vertex) + " " + draw.shader);
  draws_.push_back(draw);
  if (!has_device_ || shader == nullptr || source == nullptr || count != 6 || first != 0) return;
  const TexelPlane input{source->bytes.data(), source->desc.width, source->desc.height,
                         source->row_pitch, source->desc.format};
  const std::span<const std::uint8_t> constant_bytes =
      constants ? std::span<const std::uint8_t>(constants->bytes) : std::span<const std::uint8_t>();
  RunPixelShader(shader->entry, constant_bytes, input, planes, viewport_width_, viewport_height_);
}

void SimDirect3D::CopyResource(ObjectId destination, ObjectId source) {
  Object* to = Find(destination, Kind::kTexture);
  Object* from = Find(source, Kind::kTexture);
  calls_.push_back("CopyResource #" + std::to_string(to ? to->number : -1) + " <- #" +
                   std::to_string(from ? from->number : -1));
  if (to == nullptr || from == nullptr || to->desc.width != from->desc.width ||
      to->desc.height != from->desc.height || to->desc.format != from->desc.format) {
    return;
  }
  const std::uint32_t row = to->desc.width * TexelBytes(to->desc.format);
  for (int y = 0; y < to->desc.height; ++y) {
    std::memcpy(to->bytes.data() + static_cast<std::size_t>(y) * to->row_pitch,
                from->bytes.data() + static_cast<std::size_t>(y) * from->row_pitch, row);
  }
}

void SimDirect3D::CopyRegion(ObjectId destination, ObjectId source, const CopyBox& box) {
  Object* to = Find(destination, Kind::kTexture);
  Object* from = Find(source, Kind::kTexture);
  calls_.push_back(
      "CopyRegion #" + std::to_string(to ? to->number : -1) + " <- #" +
      std::to_string(from ? from->number : -1) + " box " + std::to_string(box.right - box.left) +
      "x" + std::to_string(box.bottom - box.top) + "x" + std::to_string(box.back - box.front));
  if (to == nullptr || from == nullptr || to->desc.format != from->desc.format) return;
  const std::uint32_t texel = TexelBytes(to->desc.format);
  for (std::uint32_t y = box.top; y < box.bottom; ++y) {
    const std::uint32_t row = y - box.top;
    if (static_cast<int>(y) >= from->desc.height || static_cast<int>(row) >= to->desc.height) break;
    const std::uint32_t columns =
        std::min<std::uint32_t>({box.right - box.left, static_cast<std::uint32_t>(to->desc.width),
                                 static_cast<std::uint32_t>(from->desc.width) - box.left});
    std::memcpy(to->bytes.data() + row * to->row_pitch,
                from->bytes.data() + y * from->row_pitch + box.left * texel, columns * texel);
  }
}

void SimDirect3D::Flush() { calls_.push_back("Flush"); }

std::optional<MappedTexture> SimDirect3D::Map(ObjectId texture, MapAccess access) {
  Object* t = Find(texture, Kind::kTexture);
  calls_.push_back(std::string(access == MapAccess::kRead ? "Map read #" : "Map write #") +
                   std::to_string(t ? t->number : -1));
  const bool allowed = t != nullptr && !t->mapped && !faults_.fail_maps &&
                       maps_++ != faults_.fail_map_number &&
                       (t->desc.usage == TextureUsage::kUpload ||
                        (t->desc.usage == TextureUsage::kReadBack && access == MapAccess::kRead));
  if (!allowed) return std::nullopt;
  t->mapped = true;
  return MappedTexture{t->bytes.data(), t->row_pitch - faults_.short_map_pitch};
}

void SimDirect3D::Unmap(ObjectId texture) {
  Object* t = Find(texture, Kind::kTexture);
  calls_.push_back("Unmap #" + std::to_string(t ? t->number : -1));
  if (t != nullptr) t->mapped = false;
}

int SimDirect3D::MappedTextures() const {
  return static_cast<int>(std::count_if(objects_.begin(), objects_.end(),
                                        [](const auto& entry) { return entry.second.mapped; }));
}

void SimDirect3D::BeginQuery(ObjectId query) {
  calls_.push_back(Find(query, Kind::kQuery) ? "BeginQuery" : "BeginQuery none");
}

void SimDirect3D::EndQuery(ObjectId query) {
  Object* q = Find(query, Kind::kQuery);
  calls_.push_back(q ? "EndQuery" : "EndQuery none");
  if (q != nullptr) q->polls = 0;
}

QueryStatus SimDirect3D::GetQueryData(ObjectId query) {
  Object* q = Find(query, Kind::kQuery);
  if (q == nullptr) return QueryStatus::kFailed;
  if (faults_.query_not_ready_polls < 0) return QueryStatus::kNotReady;
  return q->polls++ < faults_.query_not_ready_polls ? QueryStatus::kNotReady : QueryStatus::kDone;
}

void SimDirect3D::ClearRecords() {
  calls_.clear();
  draws_.clear();
}

const std::vector<std::uint8_t>& SimDirect3D::BufferContent(int number) const {
  static const std::vector<std::uint8_t> none;
  const Object* b = FindNumber(Kind::kBuffer, number);
  return b ? b->bytes : none;
}

const std::vector<std::uint8_t>& SimDirect3D::TextureContent(int number) const {
  static const std::vector<std::uint8_t> none;
  const Object* t = FindNumber(Kind::kTexture, number);
  return t ? t->bytes : none;
}

const TextureDesc& SimDirect3D::TextureDescription(int number) const {
  static const TextureDesc none;
  const Object* t = FindNumber(Kind::kTexture, number);
  return t ? t->desc : none;
}

}  // namespace vexmark::gpu::sim
