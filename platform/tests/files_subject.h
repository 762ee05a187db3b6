// The files seam under test, and a way to lay out a tree of its own: the simulated tree on
// Linux, the prefix's temporary folder under Wine.
#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace platform::testing {

class FilesSubject {
 public:
  virtual ~FilesSubject() = default;

  virtual Files& files() = 0;
  // An empty folder for this subject alone (no final backslash); it goes with the subject.
  virtual std::string Scratch() = 0;
  virtual void MakeFolder(std::string_view path) = 0;
  virtual void MakeFile(std::string_view path, std::string_view bytes) = 0;
};

std::unique_ptr<FilesSubject> MakeFilesSubject();

}  // namespace platform::testing
