// CDialogBuilder: makes a control tree from a skin XML file. The root <Window> element's
// attributes (size, caption, roundcorner) and <Font> children go to the paint
// manager; its first control element becomes the root control. Element names are the control
// kinds: Control, Container, VerticalLayout, HorizontalLayout, Label, Text, Button, Option,
// Progress, List, ListContainerElement, ListLabelElement.
#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "ui/control.h"
#include "ui/xml_reader.h"

namespace ui {

class CPaintManagerUI;

class CDialogBuilder {
 public:
  // Loads the file through the manager's resources. nullptr with GetLastError() on failure.
  std::unique_ptr<CControlUI> Create(std::u16string_view file, CPaintManagerUI& manager);
  std::unique_ptr<CControlUI> CreateFromText(std::string_view xml, CPaintManagerUI& manager);
  const std::string& GetLastError() const { return error_; }

 private:
  std::unique_ptr<CControlUI> Build(const XmlElement& element, CPaintManagerUI& manager);
  std::unique_ptr<CControlUI> ApplyWindow(const XmlElement& window, CPaintManagerUI& manager);

  std::string error_;
};

}  // namespace ui
