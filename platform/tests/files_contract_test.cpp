// The files seam as the removal tool and the launcher use it: searches in listing order with
// the file system's wildcard rules, attributes and deletion, the shell's silent copy, text read
// in fgets chunks, and the well-known folders.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "files_subject.h"

namespace platform::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

class FilesContractTest : public ::testing::Test {
 protected:
  void SetUp() override {
    subject_ = MakeFilesSubject();
    root_ = subject_->Scratch();
  }

  Files& files() { return subject_->files(); }
  std::string Path(std::string_view name) { return root_ + "\\" + std::string(name); }

  std::vector<std::string> Names(std::string_view pattern) {
    std::vector<std::string> names;
    const auto found = files().Find(Path(pattern));
    EXPECT_TRUE(found.has_value()) << pattern;
    if (found) {
      for (const FoundFile& entry : *found) names.push_back(entry.name);
    }
    return names;
  }

  // Made out of order, so that the listing order is the file system's and not ours.
  void MakeMixedFolder() {
    for (const char* name :
         {"zeta.txt", "Alpha.INF", "oem1.info", "noext", "mid.dat", "oem12.inf", "b", "a.b.c"}) {
      subject_->MakeFile(Path(name), "x\r\n");
    }
    subject_->MakeFolder(Path("sub"));
  }

  std::vector<std::string> Chunks(std::string_view path, size_t max_chars) {
    std::vector<std::string> chunks;
    auto reader = files().OpenText(path);
    EXPECT_NE(reader, nullptr);
    std::string chunk;
    while (reader && reader->ReadChunk(max_chars, &chunk)) chunks.push_back(chunk);
    return chunks;
  }

  std::unique_ptr<FilesSubject> subject_;
  std::string root_;
};

TEST_F(FilesContractTest, ListsDotsFirstThenEntriesSortedWithoutRegardToCase) {
  MakeMixedFolder();
  const auto found = files().Find(Path("*.*"));
  ASSERT_TRUE(found.has_value());
  std::vector<std::string> names;
  for (const FoundFile& entry : *found) {
    names.push_back(entry.name);
    const bool folder = entry.name == "." || entry.name == ".." || entry.name == "sub";
    EXPECT_EQ(entry.attributes, folder ? kFileAttributeDirectory : kFileAttributeArchive)
        << entry.name;
  }
  EXPECT_THAT(names, ElementsAre(".", "..", "a.b.c", "Alpha.INF", "b", "mid.dat", "noext",
                                 "oem1.info", "oem12.inf", "sub", "zeta.txt"));
  EXPECT_EQ(Names("*"), names);
}

TEST_F(FilesContractTest, WildcardsMatchWithoutRegardToCaseAndThroughShortNames) {
  MakeMixedFolder();
  // "oem1.info" is found through its 8.3 alias, which ends in ".INF".
  EXPECT_THAT(Names("oem*.inf"), ElementsAre("oem1.info", "oem12.inf"));
  EXPECT_THAT(Names("*.inf"), ElementsAre("Alpha.INF", "oem1.info", "oem12.inf"));
  EXPECT_THAT(Names("*.TXT"), ElementsAre("zeta.txt"));
  EXPECT_THAT(Names("?"), ElementsAre(".", "b"));
  EXPECT_THAT(Names("*.?"), ElementsAre("..", "a.b.c"));
  EXPECT_THAT(Names("noext.*"), ElementsAre("noext"));
  EXPECT_THAT(Names("ZETA.TXT"), ElementsAre("zeta.txt"));
  EXPECT_THAT(Names("*a"), IsEmpty());
}

TEST_F(FilesContractTest, SearchesThatCannotListDifferFromEmptyOnes) {
  MakeMixedFolder();
  EXPECT_THAT(Names("nomatch*"), IsEmpty());
  EXPECT_THAT(Names(""), IsEmpty());  // the folder with a final backslash: an empty mask
  EXPECT_FALSE(files().Find(Path("missing\\*.*")).has_value());
  EXPECT_FALSE(files().Find(Path("zeta.txt\\*")).has_value());
  EXPECT_FALSE(files().Find(Path("*\\*.*")).has_value());
  EXPECT_FALSE(files().Find("").has_value());
  EXPECT_THAT(Names("sub\\*.*"), ElementsAre(".", ".."));
  // Without a wildcard the folder itself is found, by its own name.
  const auto self = files().Find(Path("SUB"));
  ASSERT_TRUE(self.has_value());
  ASSERT_EQ(self->size(), 1u);
  EXPECT_EQ((*self)[0].name, "sub");
  EXPECT_EQ((*self)[0].attributes, kFileAttributeDirectory);
}

TEST_F(FilesContractTest, DriveRootListsNoDots) {
  const std::string drive = root_.substr(0, 3);  // "C:\"
  const auto found = files().Find(drive + "*.*");
  ASSERT_TRUE(found.has_value());
  ASSERT_FALSE(found->empty());
  for (const FoundFile& entry : *found) {
    EXPECT_NE(entry.name, ".");
    EXPECT_NE(entry.name, "..");
  }
}

TEST_F(FilesContractTest, AttributesAsTheFileSystemKeepsThem) {
  const std::string file = Path("f.txt");
  subject_->MakeFile(file, "one");
  EXPECT_EQ(files().GetAttributes(file), kFileAttributeArchive);
  EXPECT_EQ(files().GetAttributes(Upper(file)), kFileAttributeArchive);
  ASSERT_TRUE(files().SetAttributes(file, kFileAttributeReadOnly));
  EXPECT_EQ(files().GetAttributes(file), kFileAttributeReadOnly | kFileAttributeArchive);
  ASSERT_TRUE(files().SetAttributes(file, kFileAttributeHidden | kFileAttributeSystem));
  EXPECT_EQ(files().GetAttributes(file),
            kFileAttributeHidden | kFileAttributeSystem | kFileAttributeArchive);
  // Normal clears them; files keep reporting the archive bit.
  ASSERT_TRUE(files().SetAttributes(file, kFileAttributeNormal));
  EXPECT_EQ(files().GetAttributes(file), kFileAttributeArchive);

  const std::string folder = Path("d");
  subject_->MakeFolder(folder);
  EXPECT_EQ(files().GetAttributes(folder), kFileAttributeDirectory);
  EXPECT_EQ(files().GetAttributes(folder + "\\"), kFileAttributeDirectory);
  ASSERT_TRUE(files().SetAttributes(folder, kFileAttributeReadOnly | kFileAttributeHidden));
  EXPECT_EQ(files().GetAttributes(folder), kFileAttributeDirectory | kFileAttributeHidden);

  EXPECT_EQ(files().GetAttributes(Path("absent")), kInvalidFileAttributes);
  EXPECT_EQ(files().GetAttributes(Path("absent\\x")), kInvalidFileAttributes);
  EXPECT_FALSE(files().SetAttributes(Path("absent"), kFileAttributeNormal));
}

TEST_F(FilesContractTest, PathsWithForwardSlashesAndDotsResolve) {
  subject_->MakeFile(Path("f.txt"), "one");
  subject_->MakeFolder(Path("d"));
  std::string forward = root_ + "/d/../f.txt";
  std::replace(forward.begin(), forward.end(), '\\', '/');
  EXPECT_EQ(files().GetAttributes(forward), kFileAttributeArchive);
  EXPECT_EQ(files().GetAttributes(root_ + "\\.\\d\\\\..\\f.txt"), kFileAttributeArchive);
}

TEST_F(FilesContractTest, DeletesOnlyWritableFiles) {
  const std::string file = Path("f.txt");
  subject_->MakeFile(file, "one");
  ASSERT_TRUE(files().SetAttributes(file, kFileAttributeReadOnly));
  EXPECT_FALSE(files().DeleteFile(file));
  EXPECT_NE(files().GetAttributes(file), kInvalidFileAttributes);
  ASSERT_TRUE(files().SetAttributes(file, kFileAttributeNormal));
  EXPECT_TRUE(files().DeleteFile(file));
  EXPECT_EQ(files().GetAttributes(file), kInvalidFileAttributes);
  EXPECT_FALSE(files().DeleteFile(file));
  EXPECT_FALSE(files().DeleteFile(Path("absent\\x")));

  subject_->MakeFolder(Path("d"));
  EXPECT_FALSE(files().DeleteFile(Path("d")));
  EXPECT_EQ(files().GetAttributes(Path("d")), kFileAttributeDirectory);
}

TEST_F(FilesContractTest, CopiesIntoAFolderKeepingAttributesAndOverwriting) {
  const std::string source = Path("src.dat");
  subject_->MakeFile(source, "SRC");
  subject_->MakeFolder(Path("d"));
  ASSERT_TRUE(files().SetAttributes(source, kFileAttributeReadOnly | kFileAttributeHidden));
  EXPECT_TRUE(files().CopyFile(source, Path("d")));
  EXPECT_EQ(files().GetAttributes(Path("d\\src.dat")),
            kFileAttributeReadOnly | kFileAttributeHidden | kFileAttributeArchive);
  EXPECT_THAT(Chunks(Path("d\\src.dat"), 255), ElementsAre("SRC"));
  EXPECT_THAT(Chunks(source, 255), ElementsAre("SRC"));

  // A read-only copy is overwritten without a question; it loses read-only but keeps its own
  // hidden bit, whatever the source's attributes.
  ASSERT_TRUE(files().SetAttributes(source, kFileAttributeNormal));
  ASSERT_TRUE(files().DeleteFile(source));
  subject_->MakeFile(source, "NEW");
  ASSERT_TRUE(files().SetAttributes(source, kFileAttributeSystem));
  EXPECT_TRUE(files().CopyFile(source, Path("d\\")));
  EXPECT_THAT(Chunks(Path("d\\src.dat"), 255), ElementsAre("NEW"));
  EXPECT_EQ(files().GetAttributes(Path("d\\src.dat")),
            kFileAttributeHidden | kFileAttributeArchive);
}

TEST_F(FilesContractTest, CopyToAMissingFolderMakesAFileOfThatName) {
  const std::string source = Path("src.dat");
  subject_->MakeFile(source, "SRC");
  EXPECT_TRUE(files().CopyFile(source, Path("new\\deeper")));
  EXPECT_EQ(files().GetAttributes(Path("new")), kFileAttributeDirectory);
  EXPECT_EQ(files().GetAttributes(Path("new\\deeper")), kFileAttributeArchive);
  EXPECT_THAT(Chunks(Path("new\\deeper"), 255), ElementsAre("SRC"));
}

TEST_F(FilesContractTest, CopyFailsWithoutASourceAndCopiesPatternMatches) {
  subject_->MakeFolder(Path("d"));
  EXPECT_FALSE(files().CopyFile(Path("absent.dll"), Path("d")));
  EXPECT_THAT(Names("d\\*"), ElementsAre(".", ".."));
  subject_->MakeFile(Path("one.dat"), "1");
  subject_->MakeFile(Path("two.dat"), "2");
  subject_->MakeFile(Path("three.txt"), "3");
  EXPECT_TRUE(files().CopyFile(Path("*.dat"), Path("d")));
  EXPECT_THAT(Names("d\\*"), ElementsAre(".", "..", "one.dat", "two.dat"));
}

TEST_F(FilesContractTest, ReadsTextInChunksAsFgetsDoes) {
  const std::string file = Path("t.txt");
  std::string long_line;
  for (int i = 0; i < 600; ++i) long_line += static_cast<char>('a' + i % 26);
  subject_->MakeFile(file, long_line + "\r\nsecond\r\nlone\rcr\n\nnul" + std::string(1, '\0') +
                               "after\nz\x1A" + "after the end\n");
  EXPECT_THAT(Chunks(file, 255), ElementsAre(long_line.substr(0, 255), long_line.substr(255, 255),
                                             long_line.substr(510) + "\n", "second\n", "lone\rcr\n",
                                             "\n", "nul", "z"));
  EXPECT_EQ(Chunks(file, 1).size(), 601u + 7 + 8 + 1 + 10 + 1);
}

TEST_F(FilesContractTest, TextWithoutFinalLineFeedAndFilesThatCannotBeOpened) {
  subject_->MakeFile(Path("last.txt"), "only line");
  subject_->MakeFile(Path("empty.txt"), "");
  EXPECT_THAT(Chunks(Path("last.txt"), 4), ElementsAre("only", " lin", "e"));
  EXPECT_THAT(Chunks(Path("empty.txt"), 255), IsEmpty());
  EXPECT_EQ(files().OpenText(Path("absent.txt")), nullptr);
  subject_->MakeFolder(Path("d"));
  EXPECT_EQ(files().OpenText(Path("d")), nullptr);
}

TEST_F(FilesContractTest, WellKnownFoldersExist) {
  const auto windows = files().WindowsDirectory();
  const auto system = files().SystemDirectory();
  const auto current = files().CurrentDirectory();
  const auto module = files().ModulePath();
  ASSERT_TRUE(windows && system && current && module);
  for (const std::string* folder : {&*windows, &*system, &*current}) {
    EXPECT_EQ(files().GetAttributes(*folder) & kFileAttributeDirectory, kFileAttributeDirectory)
        << *folder;
    EXPECT_TRUE(folder->back() != '\\' || folder->size() == 3) << *folder;
  }
  EXPECT_EQ(Upper(*system).rfind(Upper(*windows) + "\\", 0), 0u) << *system;
  EXPECT_EQ(files().GetAttributes(*module) & kFileAttributeDirectory, 0u) << *module;
  EXPECT_NE(files().GetAttributes(*module), kInvalidFileAttributes) << *module;
  EXPECT_EQ(Upper(module->substr(module->size() - 4)), ".EXE");
}

}  // namespace
}  // namespace platform::testing
