#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Archive.h"
#include "FullDisk.h"
#include "TestFiles.h"
#include "modExtra.h"
#include "platform/Dialogs.h"
#include "tovak2d/Extra.h"

using namespace tovak2d;
using testsupport::WithFileSizeLimit;
namespace fs = std::filesystem;

namespace {

const std::string kSplit(modExtra::kSplitMarker), kHere(modExtra::kHereMarker);

using Entries = testsupport::ArchiveEntries;
constexpr auto& Bytes = testsupport::ReadFile;
constexpr auto& Put = testsupport::WriteFile;
constexpr auto& Rewritten = testsupport::RewrittenArchive;

std::string AllByteValues() {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  return bytes + std::string(3, '\0') + "\r\n\r\nend\r\n";
}

class ArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "varnel-archive-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data());
    app_ = root_ / "app";
    fs::create_directory(app_);
    savedApp_ = modExtra::AppPath;
    modExtra::AppPath = app_.string();
    modExtra::PakPath.clear();
    modExtra::PakIndex.clear();
    modExtra::PakStamp.reset();
    platform::dialogs::ClearRecordedMessages();
  }
  void TearDown() override {
    modExtra::AppPath = savedApp_;
    modExtra::PakPath.clear();
    modExtra::PakIndex.clear();
    modExtra::PakStamp.reset();
    platform::dialogs::ClearRecordedMessages();
    fs::remove_all(root_);
  }
  std::string Log() { return Bytes(app_ / "log.txt"); }
  std::string Extracted(const std::string& name) {
    fs::remove(app_ / "check.out");
    return extra_.PAK_ExtractFile(name, "check.out") ? Bytes(app_ / "check.out") : "<not extracted>";
  }
  // Builds packs\a.vnl by appending the given files (written first into AppPath).
  void AddAll(const Entries& entries) {
    for (const auto& [name, contents] : entries) {
      Put(app_ / "src.tmp", contents);
      std::string rename = name;
      ASSERT_TRUE(extra_.PAK_AddFile("src.tmp", rename)) << name;
    }
  }

  fs::path root_, app_;
  std::string savedApp_;
  Extra extra_;
};

TEST_F(ArchiveTest, BothLayoutsLoadIdenticallyAndRewriteOnDelete) {
  const Entries entries = {{"a.txt", "alpha"}, {"pics\\b.bin", AllByteValues()}, {"c.ini", ""}};
  fs::create_directory(app_ / "packs");
  Put(app_ / "packs" / "a.vnl", "");
  ASSERT_TRUE(extra_.PAK_OpenPAK("\\packs\\a.vnl"));
  AddAll(entries);
  EXPECT_EQ(Bytes(app_ / "packs" / "a.vnl"), testsupport::AppendedArchive(entries));

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
  EXPECT_EQ(extra_.PAK_FileCount(), 0);
  AddAll({{"one", "1111"}, {"two", AllByteValues()}, {"three", "333"}});
  EXPECT_EQ(modExtra::PakIndex[0].ShortName, "one");

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

TEST_F(ArchiveTest, DuplicatesAndLookUpRules) {
  Put(app_ / "a.vnl", Rewritten({{"A.BMP", "pic"}, {"pad.txt  ", "padded"}, {"hscore.ini", "[s]"}}));
  Put(app_ / "a.bmp", "other");
  std::string rename = "pics\\a.bmp";
  EXPECT_FALSE(extra_.PAK_AddFile("a.bmp", rename));  // no archive open yet
  ASSERT_TRUE(extra_.PAK_OpenPAK("a.vnl"));
  EXPECT_FALSE(extra_.PAK_AddFile("a.bmp", rename));
  EXPECT_TRUE(platform::dialogs::RecordedMessages().empty());
  std::string empty;
  EXPECT_FALSE(extra_.PAK_AddFile("x\\a.bmp", empty, true));
  EXPECT_EQ(empty, "x\\a.bmp");
  ASSERT_EQ(platform::dialogs::RecordedMessages().size(), 1u);
  EXPECT_EQ(platform::dialogs::RecordedMessages()[0].text, "File already exists : a.bmp");
  EXPECT_EQ(platform::dialogs::RecordedMessages()[0].title, "Error!");

  EXPECT_TRUE(extra_.PAK_ExtractFile("C:\\x\\hscore.ini"));
  EXPECT_EQ(Bytes(app_ / "hscore.ini"), "[s]");
  EXPECT_TRUE(extra_.PAK_ExtractFile("hscore.ini", "0hscore.ini", true));
  EXPECT_EQ(Bytes(app_ / "0hscore.ini"), "[s]");
  EXPECT_FALSE(extra_.PAK_ExtractFile("nothere.txt", "", true));
  auto messages = platform::dialogs::RecordedMessages();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[1].text, "Done!");
  EXPECT_EQ(messages[2].text, "Error: nothere.txt");
  EXPECT_EQ(messages[2].title, "File Extraction");

  // Blanks around a stored short name: extraction trims them, deletion does not.
  EXPECT_EQ(Extracted("pad.txt"), "padded");
  EXPECT_TRUE(extra_.PAK_DeleteFile("pad.txt"));
  EXPECT_EQ(extra_.PAK_FileCount(), 3);
}

TEST_F(ArchiveTest, ExtractAllFoldersAndNoArchive) {
  EXPECT_FALSE(extra_.PAK_ExtractAll());
  EXPECT_FALSE(extra_.PAK_ExtractFile("a"));
  EXPECT_FALSE(extra_.PAK_DeleteFile("a"));
  EXPECT_FALSE(extra_.PAK_AddFile("a"));
  EXPECT_EQ(extra_.PAK_FileCount(), 0);

  Put(app_ / "a.vnl", Rewritten({{"x\\one.txt", "1"}, {"two.txt", "22"}}));
  ASSERT_TRUE(extra_.PAK_OpenPAK("a.vnl"));
  for (std::string folder : {"", "\\out", "out", "\\deep\\"}) {
    fs::remove_all(app_ / "out");
    EXPECT_TRUE(extra_.PAK_ExtractAll(folder)) << folder;
    fs::path where = app_ / (folder.empty() ? "" : folder == "\\deep\\" ? "deep" : "out");
    EXPECT_EQ(Bytes(where / "one.txt"), "1") << folder;
    EXPECT_EQ(Bytes(where / "two.txt"), "22") << folder;
  }

  // A failed open leaves the archive open before it current.
  EXPECT_FALSE(extra_.PAK_OpenPAK("missing.vnl"));
  EXPECT_FALSE(extra_.PAK_OpenPAK("out"));  // a folder: found, but no archive to read
  EXPECT_EQ(extra_.PAK_FileCount(), 2);
  EXPECT_EQ(Extracted("two.txt"), "22");
  EXPECT_NE(Log().find("File is missing : " + app_.string() + "\\missing.vnl"), std::string::npos);
}

TEST_F(ArchiveTest, HostileNamesNeverLeaveTheFolder) {
  // Run from the temporary root so that a name taken as a drive path would land there too.
  fs::path savedCwd = fs::current_path();
  fs::current_path(root_);
  const std::string nul("nul\0.txt", 8);
  Put(app_ / "evil.vnl", Rewritten({{"../escaped.txt", "x"},
                                    {"..", "x"},
                                    {"/tmp/abs.txt", "x"},
                                    {"C:drive.txt", "x"},
                                    {nul, "x"},
                                    {"good.txt", "fine"}}));
  ASSERT_TRUE(extra_.PAK_OpenPAK("evil.vnl"));
  EXPECT_FALSE(extra_.PAK_ExtractAll());
  EXPECT_EQ(Bytes(app_ / "good.txt"), "fine");
  for (const std::string& name :
       std::vector<std::string>{"../escaped.txt", "..", "C:drive.txt", nul, "C:\\x\\.."})
    EXPECT_FALSE(extra_.PAK_ExtractFile(name)) << name;
  EXPECT_TRUE(extra_.PAK_ExtractFile("../escaped.txt", "chosen.txt"));  // the caller's own name
  fs::current_path(savedCwd);

  std::vector<std::string> inRoot;
  for (const auto& entry : fs::directory_iterator(root_)) inRoot.push_back(entry.path().filename().string());
  EXPECT_EQ(inRoot, std::vector<std::string>{"app"});
  EXPECT_FALSE(fs::exists(app_ / "tmp"));
  EXPECT_NE(Log().find("PAK - Entry skipped, its name leads out of the folder : ../escaped.txt"),
            std::string::npos);
  EXPECT_NE(Log().find("PAK - Entry not extracted, its name leads out of the folder : nul?.txt"),
            std::string::npos);

  std::string rename = "../x.txt";
  Put(app_ / "src.txt", "s");
  EXPECT_FALSE(extra_.PAK_AddFile("src.txt", rename));
  EXPECT_EQ(extra_.PAK_FileCount(), 6);
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
  fs::path savedCwd = fs::current_path();
  fs::current_path(root_);
  Put(root_ / "cwd-only.txt", "wrong");
  EXPECT_FALSE(extra_.PAK_AddFile("cwd-only.txt"));
  fs::current_path(savedCwd);
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
  unchanged();
  EXPECT_NE(Log().find("PAK - Cannot write to the archive : "), std::string::npos);
  EXPECT_NE(Log().find("PAK - Cannot rewrite the archive : "), std::string::npos);
  for (const auto& entry : fs::directory_iterator(app_))
    EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos);

  // Targets that cannot be written: a folder that is read-only (for root, one under /proc).
  fs::create_directory(app_ / "locked");
  fs::permissions(app_ / "locked", fs::perms::owner_read | fs::perms::owner_exec);
  std::string locked = ::geteuid() == 0 ? "C:\\proc\\varnel-none" : (app_ / "locked").string();
  EXPECT_FALSE(extra_.PAK_ExtractFile("keep.bin", locked + "\\keep.bin"));
  EXPECT_FALSE(extra_.PAK_ExtractFile("keep.bin", "folder"));
  EXPECT_FALSE(extra_.PAK_ExtractAll(locked));
  fs::permissions(app_ / "locked", fs::perms::owner_all);
  EXPECT_NE(Log().find("PAK - Error Extracting All files : " + locked + "\\ '&' keep.bin"),
            std::string::npos);
  EXPECT_NE(Log().find("PAK - Error extracting file : keep.bin"), std::string::npos);
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

// Archives as a hostile pack could make them. The process runs from a folder beside the
// application folder: whatever a name escapes to shows up there or beside them.
class HostileArchiveTest : public ArchiveTest {
 protected:
  void SetUp() override {
    ArchiveTest::SetUp();
    fs::create_directories(root_ / "cwd");
    savedCwd_ = fs::current_path();
    fs::current_path(root_ / "cwd");
  }
  void TearDown() override {
    fs::current_path(savedCwd_);
    ArchiveTest::TearDown();
  }
  // Everything outside the application folder: should stay empty.
  std::vector<std::string> Strays() {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(root_))
      if (entry.path().filename() != "app" && entry.path().filename() != "cwd")
        found.push_back(entry.path().string());
    for (const auto& entry : fs::directory_iterator(root_ / "cwd")) found.push_back(entry.path().string());
    return found;
  }
  fs::path savedCwd_;
};

std::string Entry(const std::string& name, const std::string& contents) {
  return kSplit + name + kHere + contents;
}

}  // namespace

TEST_F(HostileArchiveTest, NamesThatPointElsewhereLandInTheFolderOrNowhere) {
  // Backslashes are the name's folder parts: only the short name after the last one counts, so
  // these land in the application folder. Names whose short name is itself a path are refused.
  const std::string longName = std::string(300, 'n') + ".txt";
  Put(app_ / "a.vnl", Entry("..\\..\\up.txt", "up") + Entry("C:\\Windows\\drive.txt", "drive") +
                          Entry("\\\\server\\share\\unc.txt", "unc") + Entry("/etc/x", "etc") +
                          Entry("C:/x", "slash") + Entry("pics\\..", "dots") + Entry("folder\\", "nameless") +
                          Entry(longName, "long") + Entry("after.txt", "after"));
  ASSERT_TRUE(extra_.PAK_OpenPAK("a.vnl"));
  EXPECT_EQ(extra_.PAK_FileCount(), 8) << "the nameless entry is a free slot";

  for (const char* name : {"up.txt", "drive.txt", "unc.txt", "after.txt"})
    EXPECT_TRUE(extra_.PAK_ExtractFile(name)) << name;
  EXPECT_EQ(Bytes(app_ / "up.txt"), "up");
  EXPECT_EQ(Bytes(app_ / "drive.txt"), "drive");
  EXPECT_EQ(Bytes(app_ / "unc.txt"), "unc");
  for (const std::string& name : {std::string("/etc/x"), std::string("C:/x"), std::string(".."), longName})
    EXPECT_FALSE(extra_.PAK_ExtractFile(name)) << name;
  EXPECT_FALSE(fs::exists(app_ / "etc"));
  EXPECT_NE(Log().find("PAK - Entry not extracted, its name leads out of the folder : /etc/x"),
            std::string::npos);
  EXPECT_NE(Log().find("PAK - Error extracting file : " + longName), std::string::npos)
      << "too long to be a file name";

  // Extracting everything skips the refused names and stops at the name the system cannot take,
  // as on any write error; the entries before it are written.
  fs::remove(app_ / "up.txt");
  EXPECT_FALSE(extra_.PAK_ExtractAll("out"));
  EXPECT_EQ(Bytes(app_ / "out" / "up.txt"), "up");
  EXPECT_NE(Log().find("PAK - Error Extracting All files : "), std::string::npos);
  EXPECT_TRUE(Strays().empty()) << Strays().front();

  // Such names are not stored by adding either; a long one that is a plain name is.
  Put(app_ / "src.txt", "s");
  for (const std::string& rename : {std::string("/tmp/abs.txt"), std::string("x\\.."), std::string("C:\\")}) {
    std::string name = rename;
    EXPECT_FALSE(extra_.PAK_AddFile("src.txt", name)) << rename;
  }
  std::string hundreds = std::string(600, 'h');
  EXPECT_TRUE(extra_.PAK_AddFile("src.txt", hundreds));
  EXPECT_EQ(extra_.PAK_FileCount(), 9);
  EXPECT_FALSE(extra_.PAK_ExtractFile(hundreds));
  EXPECT_TRUE(extra_.PAK_ExtractFile(hundreds, "short.txt"));
  EXPECT_EQ(Bytes(app_ / "short.txt"), "s");
  EXPECT_TRUE(Strays().empty());
}

TEST_F(HostileArchiveTest, ArchiveOfThreeHundredMegabytesOpensWithoutReadingItIntoMemory) {
  // A sparse file: the big entry is a hole, written in no time and taking no disk space.
  constexpr uint64_t kBig = 300ull << 20;
  const std::string head = Entry("small.txt", "abc") + Entry("big.bin", "");
  const std::string tail = Entry("last.txt", "the end");
  const fs::path path = app_ / "big.vnl";
  Put(path, head);
  fs::resize_file(path, head.size() + kBig);
  {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out << tail;
  }
  ASSERT_EQ(fs::file_size(path), head.size() + kBig + tail.size());

  ASSERT_TRUE(extra_.PAK_OpenPAK("big.vnl"));
  EXPECT_EQ(extra_.PAK_FileCount(), 3);
  EXPECT_EQ(modExtra::PakIndex[1].ContentsLength, kBig);
  EXPECT_TRUE(extra_.PAK_ExtractFile("last.txt"));
  EXPECT_EQ(Bytes(app_ / "last.txt"), "the end");
  EXPECT_TRUE(extra_.PAK_ExtractFile("SMALL.TXT"));
  EXPECT_EQ(Bytes(app_ / "SMALL.TXT"), "abc") << "written under the name asked for";
  EXPECT_TRUE(Strays().empty());
}

TEST_F(HostileArchiveTest, TenThousandTinyEntries) {
  std::string archive;
  for (int i = 0; i < 10000; ++i) archive += Entry("f" + std::to_string(i) + ".txt", std::to_string(i));
  Put(app_ / "many.vnl", archive);

  ASSERT_TRUE(extra_.PAK_OpenPAK("many.vnl"));
  EXPECT_EQ(extra_.PAK_FileCount(), 10000);
  EXPECT_TRUE(extra_.PAK_ExtractFile("f9999.txt", "last.out"));
  EXPECT_EQ(Bytes(app_ / "last.out"), "9999");

  // Adding checks every name for a duplicate; deleting rewrites all ten thousand.
  Put(app_ / "new.txt", "new");
  std::string duplicate = "F5000.TXT";
  EXPECT_FALSE(extra_.PAK_AddFile("new.txt", duplicate));
  EXPECT_TRUE(extra_.PAK_AddFile("new.txt"));
  EXPECT_TRUE(extra_.PAK_DeleteFile("f5000.txt"));
  ASSERT_TRUE(extra_.PAK_OpenPAK("many.vnl"));
  EXPECT_EQ(extra_.PAK_FileCount(), 10000);
  EXPECT_FALSE(extra_.PAK_ExtractFile("f5000.txt", "gone.out"));
  EXPECT_TRUE(extra_.PAK_ExtractFile("new.txt", "new.out"));

  // A file already there under other letter case is written over, as on Windows.
  fs::create_directories(app_ / "out");
  Put(app_ / "out" / "F1.TXT", "old");
  EXPECT_TRUE(extra_.PAK_ExtractAll("out"));
  EXPECT_EQ(Bytes(app_ / "out" / "f1234.txt"), "1234");
  EXPECT_EQ(Bytes(app_ / "out" / "F1.TXT"), "1");
  EXPECT_FALSE(fs::exists(app_ / "out" / "f1.txt"));
  size_t written = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(app_ / "out")) ++written;
  EXPECT_EQ(written, 10000u);

  // More entries than the count can hold: it stops at its largest value instead of wrapping.
  archive.clear();
  for (int i = 0; i < 40000; ++i) archive += Entry(std::to_string(i), "");
  Put(app_ / "more.vnl", archive);
  ASSERT_TRUE(extra_.PAK_OpenPAK("more.vnl"));
  EXPECT_EQ(extra_.PAK_FileCount(), 32767);
  EXPECT_TRUE(Strays().empty());
}
