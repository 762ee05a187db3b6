// A receiver's web address comes from the network: only an absolute http or https address may
// reach the shell, so an address naming a program or a share never starts anything.
#pragma once
#include <string>
#include <string_view>

namespace panel {

// True for "http://" or "https://" (scheme in any letter case) followed by a host, with no
// space, control character or quote anywhere in the address.
bool IsBrowsableWebAddress(std::u16string_view address);

// The address as one quoted command-line parameter.
std::u16string QuotedParameter(std::u16string_view address);

}  // namespace panel
