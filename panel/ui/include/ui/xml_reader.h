// A strict reader for the XML the skin uses: an optional declaration, comments, elements with
// quoted attributes, the five named entities and numeric character references. Text between
// elements must be white space. UTF-8 in, UTF-16 names and values out.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ui {

struct XmlElement {
  std::u16string name;
  std::vector<std::pair<std::u16string, std::u16string>> attributes;
  std::vector<XmlElement> children;

  // nullptr when the attribute is absent.
  const std::u16string* Attribute(std::u16string_view attribute) const;
};

struct XmlReadLimits {
  size_t max_bytes = 1u << 20;
  int max_depth = 64;
  size_t max_elements = 20000;
  // Each attribute is compared with those before it for a duplicate.
  size_t max_attributes = 64;
};

// The root element, or nullopt with *error saying what and where (line and column).
std::optional<XmlElement> ReadXml(std::string_view text, std::string* error,
                                  const XmlReadLimits& limits = {});

}  // namespace ui
