#include "ui/xml_reader.h"

#include "platform/strings.h"

namespace ui {

const std::u16string* XmlElement::Attribute(std::u16string_view attribute) const {
  for (const auto& [name, value] : attributes) {
    if (name == attribute) return &value;
  }
  return nullptr;
}

namespace {

class XmlParser {
 public:
  XmlParser(std::string_view text, const XmlReadLimits& limits) : text_(text), limits_(limits) {}

  std::optional<XmlElement> Document(std::string* error) {
    if (text_.size() > limits_.max_bytes) return Fail(error, "document too large");
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
    SkipMisc();
    if (Peek("<?xml")) {
      size_t end = text_.find("?>", pos_);
      if (end == std::string_view::npos) return Fail(error, "unterminated declaration");
      pos_ = end + 2;
    }
    SkipMisc();
    if (!ok_) return Fail(error, problem_);
    XmlElement root;
    if (!Element(root, 0)) return Fail(error, problem_);
    SkipMisc();
    if (!ok_) return Fail(error, problem_);
    if (pos_ != text_.size()) return Fail(error, "content after the root element");
    return root;
  }

 private:
  std::optional<XmlElement> Fail(std::string* error, const std::string& what) {
    size_t line = 1, column = 1;
    for (size_t i = 0; i < pos_ && i < text_.size(); ++i) {
      if (text_[i] == '\n') {
        ++line;
        column = 1;
      } else {
        ++column;
      }
    }
    *error = what + " at line " + std::to_string(line) + ", column " + std::to_string(column);
    return std::nullopt;
  }

  bool Problem(const char* what) {
    if (ok_) problem_ = what;
    ok_ = false;
    return false;
  }

  bool Peek(std::string_view s) const { return text_.substr(pos_, s.size()) == s; }
  bool AtEnd() const { return pos_ >= text_.size(); }

  static bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
  static bool IsNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':';
  }
  static bool IsNameChar(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
  }

  void SkipSpace() {
    while (!AtEnd() && IsSpace(text_[pos_])) ++pos_;
  }

  // White space and comments.
  void SkipMisc() {
    for (;;) {
      SkipSpace();
      if (!Peek("<!--")) return;
      size_t end = text_.find("-->", pos_ + 4);
      if (end == std::string_view::npos) {
        Problem("unterminated comment");
        return;
      }
      pos_ = end + 3;
    }
  }

  bool Name(std::u16string& out) {
    if (AtEnd() || !IsNameStart(text_[pos_])) return Problem("name expected");
    size_t start = pos_;
    while (!AtEnd() && IsNameChar(text_[pos_])) ++pos_;
    out.assign(text_.begin() + static_cast<long>(start), text_.begin() + static_cast<long>(pos_));
    return true;
  }

  static bool IsAllowed(uint32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
  }

  // One UTF-8 sequence, strictly: no overlong forms, no surrogates.
  bool Utf8(std::u16string& out) {
    size_t next = pos_;
    const std::optional<char32_t> c = platform::DecodeUtf8Character(text_, &next);
    if (!c) return Problem("invalid UTF-8");
    if (!IsAllowed(*c)) return Problem("invalid character");
    pos_ = next;
    platform::AppendUtf16(*c, &out);
    return true;
  }

  bool Reference(std::u16string& out) {
    size_t end = text_.find(';', pos_);
    if (end == std::string_view::npos || end - pos_ > 12) return Problem("bad reference");
    std::string_view ref = text_.substr(pos_ + 1, end - pos_ - 1);
    pos_ = end + 1;
    if (ref == "amp") return out += u'&', true;
    if (ref == "lt") return out += u'<', true;
    if (ref == "gt") return out += u'>', true;
    if (ref == "quot") return out += u'"', true;
    if (ref == "apos") return out += u'\'', true;
    if (ref.size() < 2 || ref[0] != '#') return Problem("unknown entity");
    bool hex = ref[1] == 'x';
    std::string_view digits = ref.substr(hex ? 2 : 1);
    if (digits.empty()) return Problem("bad character reference");
    uint32_t c = 0;
    for (char d : digits) {
      int v = d >= '0' && d <= '9'          ? d - '0'
              : hex && d >= 'a' && d <= 'f' ? d - 'a' + 10
              : hex && d >= 'A' && d <= 'F' ? d - 'A' + 10
                                            : -1;
      if (v < 0) return Problem("bad character reference");
      c = c * (hex ? 16 : 10) + static_cast<uint32_t>(v);
      if (c > 0x10FFFF) return Problem("bad character reference");
    }
    if (!IsAllowed(c)) return Problem("bad character reference");
    platform::AppendUtf16(c, &out);
    return true;
  }

  bool AttributeValue(std::u16string& out) {
    if (AtEnd() || (text_[pos_] != '"' && text_[pos_] != '\'')) {
      return Problem("quoted value expected");
    }
    char quote = text_[pos_++];
    while (!AtEnd() && text_[pos_] != quote) {
      char c = text_[pos_];
      if (c == '<') return Problem("'<' in attribute value");
      if (c == '&') {
        if (!Reference(out)) return false;
      } else if (!Utf8(out)) {
        return false;
      }
    }
    if (AtEnd()) return Problem("unterminated attribute value");
    ++pos_;
    return true;
  }

  bool Element(XmlElement& element, int depth) {
    if (depth >= limits_.max_depth) return Problem("elements nested too deeply");
    if (++elements_ > limits_.max_elements) return Problem("too many elements");
    if (!Peek("<")) return Problem("element expected");
    ++pos_;
    if (!Name(element.name)) return false;
    for (;;) {
      bool spaced = !AtEnd() && IsSpace(text_[pos_]);
      SkipSpace();
      if (AtEnd()) return Problem("unterminated start tag");
      if (Peek("/>")) {
        pos_ += 2;
        return true;
      }
      if (text_[pos_] == '>') {
        ++pos_;
        break;
      }
      if (!spaced) return Problem("space expected before attribute");
      if (element.attributes.size() >= limits_.max_attributes) {
        return Problem("too many attributes");
      }
      std::u16string name, value;
      if (!Name(name)) return false;
      SkipSpace();
      if (!Peek("=")) return Problem("'=' expected");
      ++pos_;
      SkipSpace();
      if (!AttributeValue(value)) return false;
      if (element.Attribute(name) != nullptr) return Problem("duplicate attribute");
      element.attributes.emplace_back(std::move(name), std::move(value));
    }
    for (;;) {
      SkipMisc();
      if (!ok_) return false;
      if (AtEnd()) return Problem("unterminated element");
      if (Peek("</")) {
        pos_ += 2;
        std::u16string closing;
        if (!Name(closing)) return false;
        if (closing != element.name) return Problem("mismatched end tag");
        SkipSpace();
        if (!Peek(">")) return Problem("'>' expected");
        ++pos_;
        return true;
      }
      if (text_[pos_] != '<') return Problem("text content is not allowed");
      if (Peek("<!") || Peek("<?")) return Problem("unsupported markup");
      element.children.emplace_back();
      if (!Element(element.children.back(), depth + 1)) return false;
    }
  }

  std::string_view text_;
  const XmlReadLimits& limits_;
  size_t pos_ = 0;
  size_t elements_ = 0;
  bool ok_ = true;
  std::string problem_;
};

}  // namespace

std::optional<XmlElement> ReadXml(std::string_view text, std::string* error,
                                  const XmlReadLimits& limits) {
  return XmlParser(text, limits).Document(error);
}

}  // namespace ui
