#include "panel/sim/receiver_script.h"

#include <charconv>
#include <optional>
#include <vector>

#include "platform/strings.h"

namespace panel::sim {
namespace {

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
  // Malformed text comes back from the decoder with replacement characters, so only valid
  // UTF-8 survives the round trip unchanged.
  std::u16string wide = platform::Utf8ToUtf16(rest);
  if (platform::Utf16ToUtf8(wide) != rest) {
    *error = "not UTF-8: " + std::string(line);
    return false;
  }
  std::vector<std::string_view> fields = Fields(rest);
  auto wide_field = [&](size_t i) { return platform::Utf8ToUtf16(fields[i]); };
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
    if (!model.RemoveReceiver(wide)) return fail();
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
  if (command == "delay") {
    const size_t gap = rest.find(' ');
    if (gap == std::string_view::npos || gap == 0) return fail();
    auto ms = Number(rest.substr(gap + 1));
    if (!ms || *ms < 0) return fail();
    model.SetCallDelay(std::string(rest.substr(0, gap)), *ms);
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
