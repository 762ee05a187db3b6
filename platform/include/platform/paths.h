// Windows paths as text: joining a folder and a name, and the folder part of a path. Both
// widths, for the 8-bit and the wide API.
#pragma once
#include <string>
#include <string_view>

namespace platform {

// "folder\name", without doubling the separator after a folder that ends in one ("C:\").
std::string JoinPath(std::string_view folder, std::string_view name);
std::u16string JoinPath(std::u16string_view folder, std::u16string_view name);

// The folder part with its final separator ('\', '/' or a drive's ':'): "C:\dir\a.exe" gives
// "C:\dir\", "C:a.exe" gives "C:", a bare name gives "".
std::string FolderOf(std::string_view path);
std::u16string FolderOf(std::u16string_view path);

}  // namespace platform
