#include "panel/core/web_address.h"

namespace panel {

namespace {

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view lower_prefix) {
  if (text.size() < lower_prefix.size()) return false;
  for (size_t i = 0; i < lower_prefix.size(); ++i) {
    char16_t c = text[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != lower_prefix[i]) return false;
  }
  return true;
}

}  // namespace

bool IsBrowsableWebAddress(std::u16string_view address) {
  size_t host_at = 0;
  if (StartsWithIgnoringCase(address, u"http://")) {
    host_at = 7;
  } else if (StartsWithIgnoringCase(address, u"https://")) {
    host_at = 8;
  } else {
    return false;
  }
  // "http:///x" and "http://" name no host.
  if (address.size() == host_at || address[host_at] == u'/' || address[host_at] == u'\\') {
    return false;
  }
  for (char16_t c : address) {
    // A space or quote would split or end the quoted parameter; control characters never
    // belong in an address.
    if (c <= u' ' || c == u'"' || c == 0x7F) return false;
  }
  return true;
}

std::u16string QuotedParameter(std::u16string_view address) {
  std::u16string quoted;
  quoted.reserve(address.size() + 2);
  quoted.push_back(u'"');
  quoted.append(address);
  quoted.push_back(u'"');
  return quoted;
}

}  // namespace panel
