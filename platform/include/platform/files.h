// The file system as the deliverables use it: searches in the file system's listing order,
// attributes, deletion, copies, reading text in bounded chunks, and the well-known folders.
// Paths are 8-bit text in the system code page with backslashes.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win_error.h"

namespace platform {

// Attribute bits with their Windows values.
inline constexpr uint32_t kFileAttributeReadOnly = 0x01;
inline constexpr uint32_t kFileAttributeHidden = 0x02;
inline constexpr uint32_t kFileAttributeSystem = 0x04;
inline constexpr uint32_t kFileAttributeDirectory = 0x10;
inline constexpr uint32_t kFileAttributeArchive = 0x20;
inline constexpr uint32_t kFileAttributeNormal = 0x80;
inline constexpr uint32_t kInvalidFileAttributes = 0xFFFFFFFF;

struct FoundFile {
  std::string name;  // the entry's name, without its folder
  uint32_t attributes = 0;
};

// An open text file read like fgets: each chunk ends after a line feed or after max_chars
// characters, whichever comes first.
class TextReader {
 public:
  virtual ~TextReader() = default;
  // false at the end of the file or on a read error.
  virtual bool ReadChunk(size_t max_chars, std::string* chunk) = 0;
};

// Whether a failed search start means "the folder has nothing that matches" (an empty
// result) rather than "the folder cannot be listed".
bool SearchFoundNothing(WinError error);

class Files {
 public:
  virtual ~Files() = default;

  // FindFirstFile / FindNextFile over a pattern such as "C:\\dir\\*.*" or "...\\oem*.inf":
  // the entries in the file system's listing order ("." and ".." included where it lists
  // them); empty when the folder has nothing that matches, nullopt when it cannot be listed
  // (a missing folder, a wildcard before the last element, an empty pattern).
  virtual std::optional<std::vector<FoundFile>> Find(std::string_view pattern) = 0;
  virtual uint32_t GetAttributes(std::string_view path) = 0;  // kInvalidFileAttributes if absent
  virtual bool SetAttributes(std::string_view path, uint32_t attributes) = 0;
  virtual bool DeleteFile(std::string_view path) = 0;
  // The shell's silent file copy: no confirmation, no error interface; false on failure.
  virtual bool CopyFile(std::string_view from, std::string_view to_folder) = 0;
  virtual std::unique_ptr<TextReader> OpenText(std::string_view path) = 0;  // nullptr on failure

  // The well-known folders as the system reports them: without a final backslash except for
  // a drive's root ("C:\\"); nullopt when they cannot be read.
  virtual std::optional<std::string> CurrentDirectory() = 0;
  virtual std::optional<std::string> WindowsDirectory() = 0;  // the system-wide one
  virtual std::optional<std::string> SystemDirectory() = 0;
  // The full path of the running program file.
  virtual std::optional<std::string> ModulePath() = 0;
};

}  // namespace platform
