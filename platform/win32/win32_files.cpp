#include "platform/win32/win32_files.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>
// The port's methods, not the Windows macros.
#undef DeleteFile
#undef CopyFile

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/growing_buffer.h"
#include "platform/scoped_file.h"
#include "platform/win32/scoped_handles.h"

namespace platform::win32 {

namespace {

class Win32TextReader : public TextReader {
 public:
  explicit Win32TextReader(ScopedFile file) : file_(std::move(file)) {}

  bool ReadChunk(size_t max_chars, std::string* chunk) override {
    if (max_chars == 0) return false;
    const size_t size = max_chars < INT_MAX ? max_chars + 1 : INT_MAX;
    buffer_.resize(size);
    if (std::fgets(buffer_.data(), static_cast<int>(size), file_.get()) == nullptr) return false;
    chunk->assign(buffer_.data(), std::strlen(buffer_.data()));
    return true;
  }

 private:
  ScopedFile file_;
  std::string buffer_;
};

}  // namespace

std::optional<std::vector<FoundFile>> Win32Files::Find(std::string_view pattern) {
  const std::string text(pattern);
  WIN32_FIND_DATAA data;
  const ScopedFindHandle search(FindFirstFileA(text.c_str(), &data));
  if (!search) {
    if (SearchFoundNothing(GetLastError())) return std::vector<FoundFile>{};
    return std::nullopt;
  }
  std::vector<FoundFile> found;
  do {
    found.push_back({data.cFileName, data.dwFileAttributes});
  } while (FindNextFileA(search.get(), &data));
  return found;
}

uint32_t Win32Files::GetAttributes(std::string_view path) {
  return GetFileAttributesA(std::string(path).c_str());
}

bool Win32Files::SetAttributes(std::string_view path, uint32_t attributes) {
  return SetFileAttributesA(std::string(path).c_str(), attributes) != FALSE;
}

bool Win32Files::DeleteFile(std::string_view path) {
  return DeleteFileA(std::string(path).c_str()) != FALSE;
}

bool Win32Files::CopyFile(std::string_view from, std::string_view to_folder) {
  // Both lists end with two NULs: the string's own and the one c_str() adds.
  std::string source(from);
  source.push_back('\0');
  std::string target(to_folder);
  target.push_back('\0');
  SHFILEOPSTRUCTA operation{};
  operation.wFunc = FO_COPY;
  operation.pFrom = source.c_str();
  operation.pTo = target.c_str();
  operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;
  return SHFileOperationA(&operation) == 0 && !operation.fAnyOperationsAborted;
}

std::unique_ptr<TextReader> Win32Files::OpenText(std::string_view path) {
  ScopedFile file(std::fopen(std::string(path).c_str(), "r"));
  if (!file) return nullptr;
  return std::make_unique<Win32TextReader>(std::move(file));
}

std::optional<std::string> Win32Files::CurrentDirectory() {
  return QueryLengthString<char>(
      [](char* buffer, DWORD size) { return GetCurrentDirectoryA(size, buffer); });
}

std::optional<std::string> Win32Files::WindowsDirectory() {
  return QueryLengthString<char>(
      [](char* buffer, DWORD size) { return DWORD{GetSystemWindowsDirectoryA(buffer, size)}; });
}

std::optional<std::string> Win32Files::SystemDirectory() {
  return QueryLengthString<char>(
      [](char* buffer, DWORD size) { return DWORD{GetSystemDirectoryA(buffer, size)}; });
}

std::optional<std::string> Win32Files::ModulePath() {
  return QueryLengthString<char>(
      [](char* buffer, DWORD size) { return GetModuleFileNameA(nullptr, buffer, size); });
}

}  // namespace platform::win32
