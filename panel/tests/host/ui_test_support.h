// A paint manager on the host window port, with notifications collected.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "ui/dialog_builder.h"
#include "ui/paint_manager.h"
#include "ui/sim/sim_ui_host.h"
#include "ui/skin_resources.h"
#include "ui/window_messages.h"

namespace ui::test {

struct Notification {
  std::u16string type;
  CControlUI* sender;
  Point point;
  intptr_t wParam;
};

class UiHarness : public INotifyUI {
 public:
  explicit UiHarness(Rect client = {0, 0, 800, 572}) : window(client), resources(files) {
    manager.Init(window, resources, decoder);
    manager.AddNotifier(this);
  }

  // Builds from skin XML text; fails the test when it does not build.
  CControlUI* Build(std::string_view xml) {
    CDialogBuilder builder;
    auto root = builder.CreateFromText(xml, manager);
    error = builder.GetLastError();
    if (!root) return nullptr;
    manager.AttachDialog(std::move(root));
    manager.UpdateLayout();
    return manager.GetRoot();
  }

  intptr_t Send(unsigned message, int x = 0, int y = 0) {
    intptr_t result = 0;
    manager.MessageHandler(message, 0, MakePointParam(x, y), result);
    return result;
  }
  void Click(int x, int y) {
    Send(kWmMouseMove, x, y);
    Send(kWmLButtonDown, x, y);
    Send(kWmLButtonUp, x, y);
  }
  void Notify(TNotifyUI& msg) override {
    seen.push_back({msg.sType, msg.pSender, msg.ptMouse, msg.wParam});
  }
  std::vector<std::u16string> Types() const {
    std::vector<std::u16string> types;
    for (const auto& n : seen) types.push_back(n.type);
    return types;
  }

  sim::SimWindowPort window;
  sim::MemoryResourceFiles files;
  sim::PngHeaderDecoder decoder;
  SkinResources resources;
  CPaintManagerUI manager;
  std::vector<Notification> seen;
  std::string error;
};

}  // namespace ui::test
