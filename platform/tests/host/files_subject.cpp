#include "files_subject.h"

#include "platform/sim/sim_files.h"

namespace platform::testing {

namespace {

// Laid out like a fresh Wine prefix, listed sorted by name as Wine lists folders.
class SimFilesSubject : public FilesSubject {
 public:
  SimFilesSubject() {
    sim_.SortListings();
    sim_.AddFolder("C:\\windows\\system32");
    sim_.SetWindowsDirectory("C:\\windows");
    sim_.SetSystemDirectory("C:\\windows\\system32");
    sim_.AddFile("C:\\tests\\files_contract_test.exe");
    sim_.SetModulePath("C:\\tests\\files_contract_test.exe");
    sim_.SetCurrentDirectory("C:\\tests");
    sim_.AddFolder(kScratch);
  }

  Files& files() override { return sim_; }
  std::string Scratch() override { return kScratch; }
  void MakeFolder(std::string_view path) override { sim_.AddFolder(path); }
  void MakeFile(std::string_view path, std::string_view bytes) override {
    sim_.AddFile(path, bytes);
  }

 private:
  static constexpr const char* kScratch = "C:\\users\\test\\Temp\\ov-files";
  sim::SimFiles sim_;
};

}  // namespace

std::unique_ptr<FilesSubject> MakeFilesSubject() { return std::make_unique<SimFilesSubject>(); }

}  // namespace platform::testing
