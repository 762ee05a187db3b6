// What the simulated file tree offers beyond the contract: its own listing order, injected
// failures and the records a test inspects.
#include "platform/sim/sim_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

namespace platform::sim {
namespace {

using ::testing::ElementsAre;

std::vector<std::string> Names(SimFiles& files, std::string_view pattern) {
  std::vector<std::string> names;
  const auto found = files.Find(pattern);
  EXPECT_TRUE(found.has_value()) << pattern;
  if (!found) return names;
  for (const FoundFile& entry : *found) names.push_back(entry.name);
  return names;
}

TEST(SimFilesTest, ListsInTheOrderEntriesWereAdded) {
  SimFiles files;
  files.AddFile("C:\\Windows\\inf\\oem9.inf");
  files.AddFile("c:\\windows\\INF\\oem1.inf", "text");
  files.AddFolder("C:\\Windows\\inf\\sub");
  EXPECT_THAT(Names(files, "C:\\Windows\\inf\\*.*"),
              ElementsAre(".", "..", "oem9.inf", "oem1.inf", "sub"));
  files.SortListings();
  EXPECT_THAT(Names(files, "C:\\Windows\\inf\\*.*"),
              ElementsAre(".", "..", "oem1.inf", "oem9.inf", "sub"));
  EXPECT_THAT(files.Searches(), ElementsAre("C:\\Windows\\inf\\*.*", "C:\\Windows\\inf\\*.*"));
}

TEST(SimFilesTest, AddingAgainReplacesTheFileInItsPlace) {
  SimFiles files;
  files.AddFile("C:\\d\\a.txt", "old");
  files.AddFile("C:\\d\\b.txt");
  files.AddFile("C:\\D\\A.TXT", "new", kFileAttributeReadOnly);
  EXPECT_THAT(Names(files, "C:\\d\\*"), ElementsAre(".", "..", "a.txt", "b.txt"));
  EXPECT_EQ(files.Contents("c:\\d\\a.txt"), "new");
  EXPECT_EQ(files.GetAttributes("C:\\d\\a.txt"), kFileAttributeReadOnly | kFileAttributeArchive);
  EXPECT_THROW(files.AddFolder("C:\\d\\a.txt"), std::invalid_argument);
  EXPECT_THROW(files.AddFile("C:\\d\\a.txt\\x"), std::invalid_argument);
  EXPECT_THROW(files.AddFile("\\\\server\\share\\x"), std::invalid_argument);
}

TEST(SimFilesTest, FilesBelowWalksDepthFirstInListingOrder) {
  SimFiles files;
  files.AddFile("C:\\top\\x\\deep.exe");
  files.AddFile("C:\\top\\first.txt");
  files.AddFolder("C:\\top\\empty");
  files.AddFile("C:\\top\\x\\y\\deeper.exe");
  EXPECT_THAT(
      files.FilesBelow("C:\\top"),
      ElementsAre("C:\\top\\x\\deep.exe", "C:\\top\\x\\y\\deeper.exe", "C:\\top\\first.txt"));
  EXPECT_TRUE(files.Exists("C:\\TOP\\EMPTY"));
  EXPECT_FALSE(files.Exists("C:\\top\\none"));
  EXPECT_EQ(files.Contents("C:\\top\\x"), std::nullopt);
}

TEST(SimFilesTest, InjectedFailures) {
  SimFiles files;
  files.AddFile("C:\\Windows\\inf\\oem1.inf");
  files.AddFile("C:\\Windows\\inf\\oem1.pnf");
  files.FailListing("c:\\windows\\inf");
  files.FailDelete("C:\\Windows\\INF\\oem1.pnf");
  files.FailWindowsDirectory();
  EXPECT_EQ(files.Find("C:\\Windows\\inf\\oem*.inf"), std::nullopt);
  EXPECT_FALSE(files.DeleteFile("C:\\Windows\\inf\\oem1.pnf"));
  EXPECT_TRUE(files.Exists("C:\\Windows\\inf\\oem1.pnf"));
  EXPECT_TRUE(files.DeleteFile("C:\\Windows\\inf\\oem1.inf"));
  EXPECT_EQ(files.WindowsDirectory(), std::nullopt);
  EXPECT_EQ(files.SystemDirectory(), "C:\\Windows\\system32");
}

TEST(SimFilesTest, RecordsCopiesAndResolvesRelativePaths) {
  SimFiles files;
  files.AddFile("C:\\Program\\Difxapi.dll", "dll");
  files.AddFolder("C:\\Windows\\system32");
  files.SetCurrentDirectory("C:\\Program");
  EXPECT_EQ(files.CurrentDirectory(), "C:\\Program");
  EXPECT_TRUE(files.CopyFile("Difxapi.dll", "C:\\Windows\\system32"));
  EXPECT_FALSE(files.CopyFile("C:\\Program\\none.dll", "C:\\Windows\\system32"));
  ASSERT_EQ(files.Copies().size(), 2u);
  EXPECT_EQ(files.Copies()[0].from, "Difxapi.dll");
  EXPECT_TRUE(files.Copies()[0].succeeded);
  EXPECT_FALSE(files.Copies()[1].succeeded);
  EXPECT_EQ(files.Contents("C:\\Windows\\system32\\DIFXAPI.DLL"), "dll");
  EXPECT_THAT(Names(files, "*.dll"), ElementsAre("Difxapi.dll"));
}

TEST(SimFilesTest, CopyingAFolderIntoItselfCopiesWhatWasThere) {
  SimFiles files;
  files.AddFile("C:\\a\\f.txt", "f");
  EXPECT_TRUE(files.CopyFile("C:\\a", "C:\\a"));
  EXPECT_THAT(files.FilesBelow("C:\\a"), ElementsAre("C:\\a\\f.txt", "C:\\a\\a\\f.txt"));
}

TEST(SimFilesTest, DefaultFolders) {
  SimFiles files;
  EXPECT_EQ(files.WindowsDirectory(), "C:\\Windows");
  EXPECT_EQ(files.CurrentDirectory(), "C:\\");
  EXPECT_EQ(files.ModulePath(), "C:\\Program\\program.exe");
  files.SetModulePath("C:\\x\\OmvoSetup.exe");
  EXPECT_EQ(files.ModulePath(), "C:\\x\\OmvoSetup.exe");
}

TEST(SimFilesTest, ZeroCharacterChunksEndTheReading) {
  SimFiles files;
  files.AddFile("C:\\t.txt", "abc");
  auto reader = files.OpenText("C:\\t.txt");
  std::string chunk = "unchanged";
  EXPECT_FALSE(reader->ReadChunk(0, &chunk));
  EXPECT_EQ(chunk, "unchanged");
}

}  // namespace
}  // namespace platform::sim
