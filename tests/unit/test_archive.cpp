// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "Archive.h"
#include "FullDisk.h"
#include "TempAppFolder.h"
#include "TestFiles.h"
#include "modExtra.h"
#include "platform/Dialogs.h"
#include "tovak2d/Extra.h"

using namespace tovak2d;
using testsupport::CloseArchive;
using testsupport::WithFileSizeLimit;
namespace fs = std::filesystem;

namespace {

const std::string kSplit(testsupport::kSplitMarker), kHere(testsupport::kHereMarker);

using Entries = testsupport::ArchiveEntries;
constexpr auto& Bytes = testsupport::ReadFile;
constexpr auto& Put = testsupport::WriteFile;
constexpr auto& Appended = testsupport::AppendedArchive;
constexpr auto& Rewritten = testsupport::RewrittenArchive;

std::string AllByteValues() {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  return bytes + std::string(3, '\0') + "\r\n\r\nend\r\n";
}

// The application folder is root/app; the process runs from root/cwd, so that whatever a name
// escapes to (a relative path, a drive letter taken as a folder name) shows up in the root.
class ArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(app_);
    fs::create_directories(root_ / "cwd");
    fs::current_path(root_ / "cwd");
    modExtra::AppPath = app_.string();
    CloseArchive();
  }
  void TearDown() override {
    fs::current_path(savedCwd_);
    modExtra::AppPath = savedApp_;
    CloseArchive();
  }
  std::string Log() { return Bytes(app_ / "log.txt"); }
  std::string Extracted(const std::string& name) {
    fs::remove(app_ / "check.out");
    return extra_.PAK_ExtractFile(name, "check.out") ? Bytes(app_ / "check.out") : "<not extracted>";
  }
  // Adds each file to the open archive (written first into AppPath).
  void AddAll(const Entries& entries) {
    for (const auto& [name, contents] : entries) {
      Put(app_ / "src.tmp", contents);
      std::string rename = name;
      ASSERT_TRUE(extra_.PAK_AddFile("src.tmp", rename)) << name;
    }
  }
  // Whether nothing landed outside the application folder.
  bool NoStrays() {
    return fs::is_empty(root_ / "cwd") && std::distance(fs::directory_iterator(root_.path()), {}) == 2;
  }

  const testsupport::TempFolder root_;
  const fs::path app_ = root_ / "app", savedCwd_ = fs::current_path();
  const std::string savedApp_ = modExtra::AppPath;
  Extra extra_;
};

using HostileArchiveTest = ArchiveTest;

}  // namespace

TEST_F(ArchiveTest, BothLayoutsLoadIdenticallyAndRewriteOnDelete) {
  const Entries entries = {{"a.txt", "alpha"}, {"pics\\b.bin", AllByteValues()}, {"c.ini", ""}};
  Put(app_ / "packs" / "a.vnl", "");
  ASSERT_TRUE(extra_.PAK_OpenPAK("\\packs\\a.vnl"));
  AddAll(entries);
  EXPECT_EQ(Bytes(app_ / "packs" / "a.vnl"), Appended(entries));

  // The rewritten layout, with appends after it leaving two adjacent split markers.
  Put(app_ / "b.vnl", Rewritten({entries[0], entries[1]}) + kSplit + "c.ini" + kHere);
  for (std::string archive : {"/packs/a.vnl", "b.vnl"}) {
    ASSERT_TRUE(extra_.PAK_OpenPAK(archive)) << archive;
    EXPECT_EQ(extra_.PAK_FileCount(), 3);
    EXPECT_EQ(modExtra::PakIndex[1].StoredName, "pics\\b.bin");
    EXPECT_EQ(Extracted("a.txt"), "alpha");
    EXPECT_EQ(Extracted("B.BIN"), AllByteValues());
    EXPECT_EQ(Extracted("c.ini"), "");
  }

  // Deleting a name that is not there still rewrites, keeping every entry.
  ASSERT_TRUE(extra_.PAK_OpenPAK("packs\\a.vnl"));
  EXPECT_TRUE(extra_.PAK_DeleteFile("missing.txt"));
  EXPECT_EQ(Bytes(app_ / "packs" / "a.vnl"), Rewritten(entries));
  EXPECT_EQ(Extracted("b.bin"), AllByteValues());

  // Without a split marker there are no entries, whatever else the file holds.
  Put(app_ / "none.vnl", "a.txt" + kHere + "x");
  ASSERT_TRUE(extra_.PAK_OpenPAK("none.vnl"));
  EXPECT_EQ(extra_.PAK_FileCount(), 0);
  EXPECT_EQ(modExtra::PakIndex.size(), 1u);
}

TEST_F(ArchiveTest, MarkersAcrossReadBuffersAreFound) {
  // Opening reads the archive through a 1 MiB buffer: put a marker, and something that only
  // looks like the start of one, across that boundary at every offset.
  const size_t buffer = 1 << 20;
  const std::string nearMiss = "`*[S-P-L-I-T]*`?";
  for (size_t shift = 1; shift <= 34; ++shift) {
    std::string first = std::string(buffer - shift - 35 - 32, 'a') + nearMiss + std::string(16, 'c');
    std::string archive = kSplit + "first" + kHere + first + kSplit + "second" + kHere + "2" + kHere + "x";
    ASSERT_EQ(archive.find(kSplit, 1), buffer - shift);
    Put(app_ / "a.vnl", archive);
    ASSERT_TRUE(extra_.PAK_OpenPAK("a.vnl"));
    ASSERT_EQ(extra_.PAK_FileCount(), 2) << shift;
    EXPECT_EQ(modExtra::PakIndex[1].ContentsLength, 1u) << shift;
    EXPECT_EQ(Extracted("first"), first) << shift;
  }
}

TEST_F(ArchiveTest, SlotsAreReusedAndPositionsFollowRewrites) {
  Put(app_ / "a.vnl", "");
  ASSERT_TRUE(extra_.PAK_OpenPAK("a.vnl"));
  AddAll({{"one", "1111"}, {"two", AllByteValues()}, {"three", "333"}});

  EXPECT_TRUE(extra_.PAK_DeleteFile("C:\\elsewhere\\TWO"));
  EXPECT_EQ(extra_.PAK_FileCount(), 2);
  EXPECT_TRUE(modExtra::PakIndex[1].ShortName.empty());
  EXPECT_EQ(Extracted("three"), "333");
  EXPECT_EQ(Extracted("two"), "<not extracted>");

  AddAll({{"four", "4444"}});
  EXPECT_EQ(modExtra::PakIndex[1].ShortName, "four");
  EXPECT_EQ(modExtra::PakIndex.size(), 3u);
  ASSERT_TRUE(extra_.PAK_OpenPAK("a.vnl"));
  EXPECT_EQ(Extracted("four"), "4444");
  EXPECT_EQ(Extracted("one"), "1111");

  // Extracting onto a longer file leaves exactly the entry.
  Put(app_ / "one", std::string(10000, 'x'));
  EXPECT_TRUE(extra_.PAK_ExtractFile("one"));
  EXPECT_EQ(Bytes(app_ / "one"), "1111");
}

TEST_F(ArchiveTest, LookUpRulesFoldersAndMessages) {
  Put(app_ / "a.vnl", Rewritten({{"A.BMP", "pic"}, {"pad.txt  ", "padded"}, {"x\\one.txt", "1"}}));
  Put(app_ / "a.bmp", "other");
  ASSERT_TRUE(extra_.PAK_OpenPAK("a.vnl"));
  // Entries are found by short name in any letter case; only the asking call shows a message.
  std::string rename = "pics\\a.bmp", empty;
  EXPECT_FALSE(extra_.PAK_AddFile("a.bmp", rename));
  EXPECT_FALSE(extra_.PAK_AddFile("x\\a.bmp", empty, true));
  EXPECT_EQ(empty, "x\\a.bmp");
  EXPECT_TRUE(extra_.PAK_ExtractFile("C:\\x\\a.bmp", "0a.bmp"));
  EXPECT_EQ(Bytes(app_ / "0a.bmp"), "pic");
  EXPECT_FALSE(extra_.PAK_ExtractFile("nothere.txt", "", true));
  const auto messages = platform::dialogs::RecordedMessages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].text, "File already exists : a.bmp");
  EXPECT_EQ(messages[1].text, "Error: nothere.txt");

  // Extracting everything into a folder made as needed; a file already there under other letter case
  // is written over, as on Windows.
  Put(app_ / "ONE.TXT", "old");
  for (std::string folder : {"", "\\deep\\"}) {
    EXPECT_TRUE(extra_.PAK_ExtractAll(folder)) << folder;
    EXPECT_EQ(Bytes(app_ / (folder.empty() ? "ONE.TXT" : "deep/one.txt")), "1") << folder;
  }
  EXPECT_FALSE(fs::exists(app_ / "one.txt"));

  // A failed open leaves the archive open before it current.
  EXPECT_FALSE(extra_.PAK_OpenPAK("missing.vnl"));
  EXPECT_FALSE(extra_.PAK_OpenPAK("deep"));  // a folder: found, but no archive to read
  EXPECT_EQ(Extracted("one.txt"), "1");
  EXPECT_NE(Log().find("File is missing : " + app_.string() + "\\missing.vnl"), std::string::npos);
}

TEST_F(ArchiveTest, FailuresReportFalseAndChangeNothing) {
  Put(app_ / "a.vnl", "");
  ASSERT_TRUE(extra_.PAK_OpenPAK("a.vnl"));
  AddAll({{"keep.bin", std::string(100000, 'k')}});
  const std::string before = Bytes(app_ / "a.vnl");
  auto unchanged = [&] {
    EXPECT_EQ(Bytes(app_ / "a.vnl"), before);
    EXPECT_EQ(extra_.PAK_FileCount(), 1);
    EXPECT_EQ(modExtra::PakIndex.size(), 1u);
    EXPECT_EQ(Extracted("keep.bin"), std::string(100000, 'k'));
  };

  // The source is looked for in AppPath, never in the process's current folder.
  Put(root_ / "cwd" / "cwd-only.txt", "wrong");
  EXPECT_FALSE(extra_.PAK_AddFile("cwd-only.txt"));
  fs::create_directory(app_ / "folder");
  EXPECT_FALSE(extra_.PAK_AddFile("folder"));
  Put(app_ / "marked.txt", "before" + kHere + "after");
  EXPECT_FALSE(extra_.PAK_AddFile("marked.txt"));
  Put(app_ / "plain.txt", "p");
  std::string markedName = "x" + kSplit;
  EXPECT_FALSE(extra_.PAK_AddFile("plain.txt", markedName));
  unchanged();
  EXPECT_NE(Log().find("PAK - Cannot read the file to add : " + app_.string() + "\\cwd-only.txt"),
            std::string::npos);
  EXPECT_NE(Log().find("PAK - The file holds an archive marker"), std::string::npos);

  // A full disk in the middle of a write: the append is cut back, the rewrite never replaces.
  Put(app_ / "big.bin", std::string(200000, 'b'));
  EXPECT_FALSE(WithFileSizeLimit(before.size() + 50000, [&] { return extra_.PAK_AddFile("big.bin"); }));
  EXPECT_FALSE(WithFileSizeLimit(50000, [&] { return extra_.PAK_DeleteFile("nothing"); }));
  unchanged();  // the log lines of both: PlayerFilesTest.ReadOnlyFilesAreNeverWrittenAndTheCallsSaySo
  for (const auto& entry : fs::directory_iterator(app_))
    EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos);

  // A target that cannot be written (read-only ones are in test_read_only_files).
  EXPECT_FALSE(extra_.PAK_ExtractFile("keep.bin", "folder"));
}

TEST_F(ArchiveTest, ArchiveChangedOnDiskIsReadAgain) {
  Put(app_ / "a.vnl", Rewritten({{"one", "1"}, {"two", "2"}}));
  ASSERT_TRUE(extra_.PAK_OpenPAK("a.vnl"));
  // Someone else rewrites the archive: other lengths, other order.
  Put(app_ / "a.vnl", Rewritten({{"zero", "000000"}, {"two", "the second"}, {"one", "first"}}));
  EXPECT_EQ(Extracted("two"), "the second");
  Put(app_ / "a.vnl", Rewritten({{"one", "uno"}, {"three", "tres"}}));
  AddAll({{"four", "cuatro"}});
  EXPECT_TRUE(extra_.PAK_DeleteFile("one"));
  EXPECT_EQ(Bytes(app_ / "a.vnl"), Rewritten({{"three", "tres"}, {"four", "cuatro"}}));
  EXPECT_NE(Log().find("PAK - The archive changed on disk and is read again : "), std::string::npos);
}

// Archives as a hostile pack could make them: nothing is ever written outside the folder.
TEST_F(HostileArchiveTest, NamesThatPointElsewhereLandInTheFolderOrNowhere) {
  // Backslashes are the name's folder parts: only the short name after the last one counts, so the
  // first few land in the application folder. Names whose short name is itself a path are refused.
  const std::string longName = std::string(300, 'n') + ".txt";
  const std::vector<std::string> hostile = testsupport::NamesLeadingOut("escaped");
  std::vector<std::string> refused(hostile.begin() + testsupport::kShortNamesInside, hostile.end());
  refused.push_back(std::string("nul\0.txt", 8));
  Entries entries;
  for (const std::string& name : hostile) entries.push_back({name, name});
  entries.insert(
      entries.end(),
      {{refused.back(), "x"}, {"folder\\", "nameless"}, {longName, "long"}, {"after.txt", "after"}});
  Put(app_ / "a.vnl", Appended(entries));
  ASSERT_TRUE(extra_.PAK_OpenPAK("a.vnl"));
  EXPECT_EQ(extra_.PAK_FileCount(), static_cast<int>(entries.size() - 2))
      << "nameless entries are free slots";

  for (size_t i = 0; i < testsupport::kShortNamesInside; ++i) {
    const std::string shortName = hostile[i].substr(hostile[i].rfind('\\') + 1);
    EXPECT_TRUE(extra_.PAK_ExtractFile(shortName)) << hostile[i];
    EXPECT_EQ(Bytes(app_ / shortName), hostile[i]);
  }
  for (const std::string& name : refused) EXPECT_FALSE(extra_.PAK_ExtractFile(name)) << name;
  EXPECT_FALSE(extra_.PAK_ExtractFile(longName));
  EXPECT_TRUE(extra_.PAK_ExtractFile("../escaped.txt", "chosen.txt"));  // the caller's own name
  EXPECT_NE(Log().find("PAK - Error extracting file : " + longName), std::string::npos)
      << "too long to be a file name";

  // Extracting everything skips the refused names and stops at the name the system cannot take,
  // as on any write error; the entries before it are written.
  EXPECT_FALSE(extra_.PAK_ExtractAll("out"));
  EXPECT_EQ(Bytes(app_ / "out" / "escaped-up.txt"), hostile[0]);
  EXPECT_NE(Log().find("PAK - Entry skipped, its name leads out of the folder : ../escaped.txt"),
            std::string::npos);
  EXPECT_NE(Log().find("PAK - Error Extracting All files : "), std::string::npos);
  EXPECT_FALSE(fs::exists("/tmp/escaped.txt"));
  EXPECT_TRUE(NoStrays());

  // Such names are not stored by adding either; a long one that is a plain name is.
  Put(app_ / "src.txt", "s");
  for (std::string name : refused) EXPECT_FALSE(extra_.PAK_AddFile("src.txt", name)) << name;
  std::string hundreds = std::string(600, 'h');
  EXPECT_TRUE(extra_.PAK_AddFile("src.txt", hundreds));
  EXPECT_EQ(extra_.PAK_FileCount(), static_cast<int>(entries.size() - 1));
  EXPECT_FALSE(extra_.PAK_ExtractFile(hundreds));
  EXPECT_TRUE(extra_.PAK_ExtractFile(hundreds, "short.txt"));
  EXPECT_EQ(Bytes(app_ / "short.txt"), "s");
  EXPECT_TRUE(NoStrays());
}
