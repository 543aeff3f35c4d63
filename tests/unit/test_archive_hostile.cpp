// Archives as a hostile pack could make them: entry names that point elsewhere or are far too
// long, an archive of hundreds of megabytes, and one of ten thousand tiny entries. Each is
// handled with a log line where something is refused, never with a crash, and nothing is ever
// written outside the application folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Archive.h"
#include "TestFiles.h"
#include "modExtra.h"
#include "platform/Dialogs.h"
#include "tovak2d/Extra.h"

using namespace tovak2d;
namespace fs = std::filesystem;

namespace {

const std::string kSplit(modExtra::kSplitMarker), kHere(modExtra::kHereMarker);

constexpr auto& Bytes = testsupport::ReadFile;
constexpr auto& Put = testsupport::WriteFile;

std::string Entry(const std::string& name, const std::string& contents) {
  return kSplit + name + kHere + contents;
}

// The application folder lies alone in a folder of its own, and the process runs from a third
// folder beside it: whatever a name escapes to, it shows up in one of the two.
class HostileArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "varnel-hostile-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    app_ = root_ / "app";
    fs::create_directories(app_);
    fs::create_directories(root_ / "cwd");
    savedCwd_ = fs::current_path();
    fs::current_path(root_ / "cwd");
    savedApp_ = modExtra::AppPath;
    modExtra::AppPath = app_.string();
    modExtra::PakPath.clear();
    modExtra::PakIndex.clear();
    modExtra::PakStamp.reset();
  }
  void TearDown() override {
    fs::current_path(savedCwd_);
    modExtra::AppPath = savedApp_;
    modExtra::PakPath.clear();
    modExtra::PakIndex.clear();
    modExtra::PakStamp.reset();
    platform::dialogs::ClearRecordedMessages();
    fs::remove_all(root_);
  }

  std::string Log() { return Bytes(app_ / "log.txt"); }

  // Everything outside the application folder: should stay empty.
  std::vector<std::string> Strays() {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(root_))
      if (entry.path().filename() != "app" && entry.path().filename() != "cwd")
        found.push_back(entry.path().string());
    for (const auto& entry : fs::directory_iterator(root_ / "cwd")) found.push_back(entry.path().string());
    return found;
  }

  fs::path root_, app_, savedCwd_;
  std::string savedApp_;
  Extra extra_;
};

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

}  // namespace
