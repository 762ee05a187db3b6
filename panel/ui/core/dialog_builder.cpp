#include "ui/dialog_builder.h"

#include <functional>
#include <utility>

#include "attribute_values.h"
#include "platform/strings.h"
#include "ui/button.h"
#include "ui/container.h"
#include "ui/label.h"
#include "ui/list.h"
#include "ui/option.h"
#include "ui/paint_manager.h"
#include "ui/progress.h"
#include "ui/skin_resources.h"

namespace ui {
namespace {

std::unique_ptr<CControlUI> MakeControl(std::u16string_view kind) {
  static const std::pair<std::u16string_view, std::function<std::unique_ptr<CControlUI>()>>
      kKinds[] = {
          {u"Control", [] { return std::make_unique<CControlUI>(); }},
          {u"Container", [] { return std::make_unique<CContainerUI>(); }},
          {u"VerticalLayout", [] { return std::make_unique<CVerticalLayoutUI>(); }},
          {u"HorizontalLayout", [] { return std::make_unique<CHorizontalLayoutUI>(); }},
          {u"Label", [] { return std::make_unique<CLabelUI>(); }},
          {u"Text", [] { return std::make_unique<CTextUI>(); }},
          {u"Button", [] { return std::make_unique<CButtonUI>(); }},
          {u"Option", [] { return std::make_unique<COptionUI>(); }},
          {u"Progress", [] { return std::make_unique<CProgressUI>(); }},
          {u"List", [] { return std::make_unique<CListUI>(); }},
          {u"ListContainerElement", [] { return std::make_unique<CListContainerElementUI>(); }},
          {u"ListLabelElement", [] { return std::make_unique<CListLabelElementUI>(); }},
      };
  for (const auto& [name, make] : kKinds) {
    if (name == kind) return make();
  }
  return nullptr;
}

}  // namespace

std::unique_ptr<CControlUI> CDialogBuilder::Create(std::u16string_view file,
                                                   CPaintManagerUI& manager) {
  if (manager.GetResources() == nullptr) {
    error_ = "the paint manager has no skin resources";
    return nullptr;
  }
  auto bytes = manager.GetResources()->Load(file);
  if (!bytes) {
    error_ = manager.GetResources()->LastError();
    return nullptr;
  }
  return CreateFromText(
      std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), manager);
}

std::unique_ptr<CControlUI> CDialogBuilder::CreateFromText(std::string_view xml,
                                                           CPaintManagerUI& manager) {
  error_.clear();
  std::string why;
  auto root = ReadXml(xml, &why);
  if (!root) {
    error_ = "skin XML: " + why;
    return nullptr;
  }
  if (root->name == u"Window") return ApplyWindow(*root, manager);
  return Build(*root, manager);
}

std::unique_ptr<CControlUI> CDialogBuilder::ApplyWindow(const XmlElement& window,
                                                        CPaintManagerUI& manager) {
  for (const auto& [name, value] : window.attributes) {
    if (name == u"size") {
      if (auto s = ParseSize(value)) manager.SetInitSize(*s);
    } else if (name == u"caption") {
      if (auto r = ParseRect(value)) manager.SetCaptionRect(*r);
    } else if (name == u"roundcorner") {
      if (auto s = ParseSize(value)) manager.SetRoundCorner(*s);
    }
  }
  std::unique_ptr<CControlUI> root;
  for (const XmlElement& child : window.children) {
    if (child.name == u"Font") {
      FontSpec font;
      if (const auto* face = child.Attribute(u"name")) font.face = *face;
      if (const auto* size = child.Attribute(u"size")) font.size = ParseInt(*size).value_or(12);
      if (const auto* bold = child.Attribute(u"bold")) font.bold = ParseBool(*bold).value_or(false);
      const auto* is_default = child.Attribute(u"default");
      if (is_default != nullptr && ParseBool(*is_default).value_or(false)) {
        manager.SetDefaultFont(font);
      }
      manager.AddFont(font);
    } else if (!root) {
      root = Build(child, manager);
      if (!root) return nullptr;
    } else {
      error_ = "a window has one root control";
      return nullptr;
    }
  }
  if (!root) error_ = "the window has no root control";
  return root;
}

std::unique_ptr<CControlUI> CDialogBuilder::Build(const XmlElement& element,
                                                  CPaintManagerUI& manager) {
  std::unique_ptr<CControlUI> control = MakeControl(element.name);
  if (!control) {
    error_ = "unknown control kind " + platform::Utf16ToUtf8(element.name);
    return nullptr;
  }
  control->SetManager(&manager, nullptr);
  for (const auto& [name, value] : element.attributes) control->SetAttribute(name, value);
  if (element.children.empty()) return control;
  auto* container = dynamic_cast<CContainerUI*>(control.get());
  if (container == nullptr) {
    error_ = platform::Utf16ToUtf8(element.name) + " cannot hold controls";
    return nullptr;
  }
  for (const XmlElement& child : element.children) {
    auto built = Build(child, manager);
    if (!built) return nullptr;
    container->Add(std::move(built));
  }
  return control;
}

}  // namespace ui
