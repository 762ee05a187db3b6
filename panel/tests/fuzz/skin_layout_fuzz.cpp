// Skin XML from a damaged or hostile archive, built into a control tree as the panel builds its
// window: laid out at the size the skin asks for, then at a sliver, painted, and hit by the
// mouse. Sizes, paddings, insets, float positions and child counts are the skin's to choose;
// the sanitizers watch the layout's arithmetic and every walk of the tree.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ui/dialog_builder.h"
#include "ui/paint_manager.h"
#include "ui/sim/paint_recorder.h"
#include "ui/sim/sim_ui_host.h"
#include "ui/skin_resources.h"
#include "ui/window_messages.h"

namespace {

void LayOutAndPoke(ui::CPaintManagerUI& manager, ui::sim::SimWindowPort& window, ui::Rect client) {
  window.SetClientRect(client);
  manager.UpdateLayout();
  ui::sim::PaintRecorder surface(client);
  manager.PaintTo(surface, client);
  intptr_t result = 0;
  for (unsigned message : {ui::kWmMouseMove, ui::kWmLButtonDown, ui::kWmLButtonUp}) {
    manager.MessageHandler(message, 0, ui::MakePointParam(client.Width() / 2, client.Height() / 2),
                           result);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ui::sim::SimWindowPort window({0, 0, 800, 572});
  ui::sim::MemoryResourceFiles files;
  ui::sim::PngHeaderDecoder decoder;
  ui::SkinResources resources(files);
  ui::CPaintManagerUI manager;
  manager.Init(window, resources, decoder);
  ui::CDialogBuilder builder;
  auto root =
      builder.CreateFromText(std::string_view(reinterpret_cast<const char*>(data), size), manager);
  if (!root || !manager.AttachDialog(std::move(root))) return 0;
  const ui::Size asked = manager.GetInitSize();
  LayOutAndPoke(manager, window, {0, 0, asked.cx, asked.cy});
  LayOutAndPoke(manager, window, {0, 0, 3, 2});
  return 0;
}
