#include "panel/sim/receiver_script.h"

#include <charconv>
#include <optional>
#include <vector>

namespace panel::sim {
namespace {

// UTF-8 to UTF-16; nullopt for malformed text.
std::optional<std::u16string> Widen(std::string_view text) {
  std::u16string out;
  for (size_t i = 0; i < text.size();) {
    auto lead = static_cast<uint8_t>(text[i]);
    int extra = lead < 0x80             ? 0
                : (lead & 0xE0) == 0xC0 ? 1
                : (lead & 0xF0) == 0xE0 ? 2
                : (lead & 0xF8) == 0xF0 ? 3
                                        : -1;
    if (extra < 0 || text.size() - i <= static_cast<size_t>(extra)) return std::nullopt;
    uint32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      auto next = static_cast<uint8_t>(text[i + static_cast<size_t>(k)]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      c = c << 6 | (next & 0x3F);
    }
    static constexpr uint32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    if (c < kMinimum[extra] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return std::nullopt;
    if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
    i += static_cast<size_t>(extra) + 1;
  }
  return out;
}

std::vector<std::string_view> Fields(std::string_view text) {
  std::vector<std::string_view> fields;
  for (;;) {
    size_t bar = text.find('|');
    fields.push_back(text.substr(0, bar));
    if (bar == std::string_view::npos) return fields;
    text.remove_prefix(bar + 1);
  }
}

std::optional<int32_t> Number(std::string_view text) {
  int32_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<bool> Switch(std::string_view text) {
  if (text == "accept" || text == "on" || text == "1") return true;
  if (text == "refuse" || text == "off" || text == "0") return false;
  return std::nullopt;
}

}  // namespace

bool ApplyScriptLine(ReceiverSimulation& model, std::string_view line, std::string* error) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n' || line.back() == ' ')) {
    line.remove_suffix(1);
  }
  while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
  if (line.empty() || line.front() == '#') return true;
  size_t space = line.find(' ');
  std::string_view command = line.substr(0, space);
  std::string_view rest = space == std::string_view::npos ? "" : line.substr(space + 1);
  auto wide = Widen(rest);
  if (!wide) {
    *error = "not UTF-8: " + std::string(line);
    return false;
  }
  std::vector<std::string_view> fields = Fields(rest);
  auto wide_field = [&](size_t i) { return *Widen(fields[i]); };
  auto fail = [&] {
    *error = "not understood: " + std::string(line);
    return false;
  };

  if (command == "add" && !rest.empty() && fields.size() <= 3) {
    SimReceiver receiver;
    receiver.name = wide_field(0);
    if (fields.size() > 1) receiver.web_address = wide_field(1);
    if (fields.size() > 2) receiver.capability_code = wide_field(2);
    model.AddReceiver(std::move(receiver));
    return true;
  }
  if (command == "remove" && !rest.empty()) {
    if (!model.RemoveReceiver(*wide)) return fail();
    return true;
  }
  if (command == "clear" && rest.empty()) {
    model.ClearReceivers();
    return true;
  }
  if (command == "binding" && fields.size() == 2) {
    auto accept = Switch(fields[1]);
    if (!accept || !model.SetAcceptsBinding(wide_field(0), *accept)) return fail();
    return true;
  }
  if (command == "variable" && fields.size() == 2 && !fields[0].empty()) {
    model.QueueVariable(wide_field(0), wide_field(1));
    return true;
  }
  if (auto on = Switch(rest); on && (command == "commands" || command == "playreports" ||
                                     command == "h264" || command == "extscreen")) {
    if (command == "commands") model.SetCommandsAccepted(*on);
    if (command == "playreports") model.SetReportsPlayState(*on);
    if (command == "h264") model.SetH264Present(*on);
    if (command == "extscreen") model.SetExtensionScreenOffered(*on);
    return true;
  }
  auto number = Number(rest);
  if (!number) return fail();
  if (command == "event") {
    model.QueueEvent(*number);
  } else if (command == "initresult") {
    model.SetLibraryInitResult(*number);
  } else if (command == "port") {
    model.SetPort(*number);
  } else if (command == "videomode") {
    model.PresetVideoMode(*number);
  } else if (command == "localaudio") {
    model.PresetLocalAudio(*number);
  } else {
    return fail();
  }
  return true;
}

}  // namespace panel::sim
