#include "files_subject.h"

#include <windows.h>
#undef DeleteFile
#undef CopyFile

#include "platform/win32/win32_files.h"

namespace platform::testing {

namespace {

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + "\\" + name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search, &data));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

// A fresh folder below the prefix's temporary folder for each subject.
class Win32FilesSubject : public FilesSubject {
 public:
  Win32FilesSubject() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    static int counter = 0;
    scratch_ = std::string(temp) + "ov-files-" + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(++counter);
    RemoveTree(scratch_);
    CreateDirectoryA(scratch_.c_str(), nullptr);
  }
  ~Win32FilesSubject() override { RemoveTree(scratch_); }

  Files& files() override { return files_; }
  std::string Scratch() override { return scratch_; }

  void MakeFolder(std::string_view path) override {
    CreateDirectoryA(std::string(path).c_str(), nullptr);
  }

  void MakeFile(std::string_view path, std::string_view bytes) override {
    HANDLE file = CreateFileA(std::string(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
  }

 private:
  win32::Win32Files files_;
  std::string scratch_;
};

}  // namespace

std::unique_ptr<FilesSubject> MakeFilesSubject() { return std::make_unique<Win32FilesSubject>(); }

}  // namespace platform::testing
