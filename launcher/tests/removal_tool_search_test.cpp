#include "launcher/core/removal_tool_search.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace launcher {
namespace {

using platform::FoundFile;

constexpr uint32_t kFolder = platform::kFileAttributeDirectory;
constexpr uint32_t kFile = platform::kFileAttributeArchive;

// Listings by folder, returned verbatim (letter case, order, "." and "..") for the pattern
// "<folder>\*.*"; every pattern asked for is kept.
class ListingFiles : public platform::Files {
 public:
  void List(const std::string& folder, std::vector<FoundFile> entries) {
    listings_[folder] = std::move(entries);
  }
  const std::vector<std::string>& Patterns() const { return patterns_; }

  std::optional<std::vector<FoundFile>> Find(std::string_view pattern) override {
    patterns_.emplace_back(pattern);
    constexpr std::string_view kAll = "\\*.*";
    if (!pattern.ends_with(kAll)) return std::nullopt;
    auto it = listings_.find(std::string(pattern.substr(0, pattern.size() - kAll.size())));
    if (it == listings_.end()) return std::nullopt;
    return it->second;
  }
  uint32_t GetAttributes(std::string_view) override { return platform::kInvalidFileAttributes; }
  bool SetAttributes(std::string_view, uint32_t) override { return false; }
  bool DeleteFile(std::string_view) override { return false; }
  bool CopyFile(std::string_view, std::string_view) override { return false; }
  std::unique_ptr<platform::TextReader> OpenText(std::string_view) override { return nullptr; }
  std::optional<std::string> CurrentDirectory() override { return std::nullopt; }
  std::optional<std::string> WindowsDirectory() override { return std::nullopt; }
  std::optional<std::string> SystemDirectory() override { return std::nullopt; }
  std::optional<std::string> ModulePath() override { return std::nullopt; }

 private:
  std::map<std::string, std::vector<FoundFile>> listings_;
  std::vector<std::string> patterns_;
};

class RemovalToolSearchTest : public testing::Test {
 protected:
  std::optional<std::string> Find(const std::string& root = "D:\\setup") {
    return FindRemovalToolFolder(files_, root, "SetupOv.exe");
  }
  ListingFiles files_;
};

TEST_F(RemovalToolSearchTest, ToolInTheStartFolderIsFound) {
  files_.List("D:\\setup", {{".", kFolder}, {"..", kFolder}, {"SetupOv.exe", kFile}});
  EXPECT_EQ(Find(), "D:\\setup");
  EXPECT_THAT(files_.Patterns(), testing::ElementsAre("D:\\setup\\*.*"));
}

TEST_F(RemovalToolSearchTest, SubfolderIsSearchedBeforeTheRestOfItsParent) {
  files_.List(
      "D:\\setup",
      {{".", kFolder}, {"..", kFolder}, {"a", kFolder}, {"b", kFolder}, {"SetupOv.exe", kFile}});
  files_.List("D:\\setup\\a", {{".", kFolder}, {"..", kFolder}, {"x", kFile}});
  files_.List("D:\\setup\\b", {{".", kFolder}, {"..", kFolder}, {"c", kFolder}});
  files_.List("D:\\setup\\b\\c", {{"SetupOv.exe", kFile}});
  EXPECT_EQ(Find(), "D:\\setup\\b\\c");
  EXPECT_THAT(files_.Patterns(), testing::ElementsAre("D:\\setup\\*.*", "D:\\setup\\a\\*.*",
                                                      "D:\\setup\\b\\*.*", "D:\\setup\\b\\c\\*.*"));
}

TEST_F(RemovalToolSearchTest, FirstMatchInListingOrderEndsTheSearch) {
  files_.List("D:\\setup", {{"x64", kFolder}, {"x86", kFolder}});
  files_.List("D:\\setup\\x64", {{"SetupOv.exe", kFile}, {"later", kFolder}});
  files_.List("D:\\setup\\x86", {{"SetupOv.exe", kFile}});
  EXPECT_EQ(Find(), "D:\\setup\\x64");
  EXPECT_THAT(files_.Patterns(), testing::ElementsAre("D:\\setup\\*.*", "D:\\setup\\x64\\*.*"));
}

TEST_F(RemovalToolSearchTest, NameMustMatchInLetterCase) {
  files_.List("D:\\setup", {{"setupov.exe", kFile}, {"SETUPOV.EXE", kFile}, {"deep", kFolder}});
  files_.List("D:\\setup\\deep", {{"SetupOv.exe", kFile}});
  EXPECT_EQ(Find(), "D:\\setup\\deep");
  files_.List("D:\\setup\\deep", {{"SetupOv.exe.bak", kFile}, {"SetupOv", kFile}});
  EXPECT_EQ(Find(), std::nullopt);
}

TEST_F(RemovalToolSearchTest, FolderCarryingTheToolNameIsSearchedNotTaken) {
  files_.List("D:\\setup", {{"SetupOv.exe", kFolder}});
  files_.List("D:\\setup\\SetupOv.exe", {{"SetupOv.exe", kFile}});
  EXPECT_EQ(Find(), "D:\\setup\\SetupOv.exe");
}

TEST_F(RemovalToolSearchTest, UnlistableFolderYieldsNothingAndTheSearchGoesOn) {
  files_.List("D:\\setup", {{"locked", kFolder}, {"tools", kFolder}});
  files_.List("D:\\setup\\tools", {{"SetupOv.exe", kFile}});
  EXPECT_EQ(Find(), "D:\\setup\\tools");
  EXPECT_EQ(Find("D:\\missing"), std::nullopt);
}

TEST_F(RemovalToolSearchTest, DriveRootIsNotGivenADoubleSeparator) {
  files_.List("C:", {{"Dist", kFolder}});
  files_.List("C:\\Dist", {{"SetupOv.exe", kFile}});
  EXPECT_EQ(Find("C:\\"), "C:\\Dist");
  EXPECT_THAT(files_.Patterns(), testing::ElementsAre("C:\\*.*", "C:\\Dist\\*.*"));
}

TEST_F(RemovalToolSearchTest, FoldersBeyondThePathBufferAreSkipped) {
  // "D:\setup" is 8 characters; with a separator a 251-character name makes a 260-character
  // path, one more than the buffer holds.
  const std::string too_long(251, 'l');
  const std::string longest_listable(246, 'k');  // 255 characters: "\*.*" still fits
  files_.List("D:\\setup", {{too_long, kFolder}, {longest_listable, kFolder}});
  files_.List("D:\\setup\\" + too_long, {{"SetupOv.exe", kFile}});
  files_.List("D:\\setup\\" + longest_listable, {{"SetupOv.exe", kFile}});
  EXPECT_EQ(Find(), "D:\\setup\\" + longest_listable);
  EXPECT_THAT(files_.Patterns(),
              testing::ElementsAre("D:\\setup\\*.*", "D:\\setup\\" + longest_listable + "\\*.*"));
}

TEST_F(RemovalToolSearchTest, FolderWhosePatternDoesNotFitIsNotListed) {
  const std::string name(247, 'm');  // 256 characters: the path fits, "\*.*" does not
  files_.List("D:\\setup", {{name, kFolder}, {"next", kFolder}});
  files_.List("D:\\setup\\" + name, {{"SetupOv.exe", kFile}});
  files_.List("D:\\setup\\next", {{"SetupOv.exe", kFile}});
  EXPECT_EQ(Find(), "D:\\setup\\next");
  EXPECT_THAT(files_.Patterns(), testing::ElementsAre("D:\\setup\\*.*", "D:\\setup\\next\\*.*"));
}

}  // namespace
}  // namespace launcher
