// SPDX-License-Identifier: Zlib
// The player's files: one made read-only is never written, whoever runs the game (the tests run
// as root too), and a file that is replaced keeps its mode, its owner and the link that led to it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "Archive.h"
#include "FullDisk.h"
#include "TempAppFolder.h"
#include "modExtra.h"
#include "tovak2d/Extra.h"

using namespace tovak2d;
using testsupport::CloseArchive;
using testsupport::Contains;
using testsupport::TempAppFolder;
namespace fs = std::filesystem;

namespace {

const std::string kSplit(testsupport::kSplitMarker), kHere(testsupport::kHereMarker);

struct stat StatOf(const fs::path& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info;
}

class PlayerFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { CloseArchive(); }
  void TearDown() override { CloseArchive(); }
  bool CreateTable(std::string name, int16_t topX) {
    int16_t values = 0;
    return extra_.HighScore_Create(name, topX, values);
  }

  TempAppFolder app_;
  Extra extra_;
};

}  // namespace

TEST_F(PlayerFilesTest, ReadOnlyFilesAreNeverWrittenAndTheCallsSaySo) {
  const std::string options = "[Options]\r\nMusic=True\r\n";
  const std::string archive = "a" + kHere + "first" + kSplit + "b" + kHere + "second" + kSplit;
  app_.Write("options.ini", options);
  app_.Write("pack.vnl", archive);
  app_.Write("new.txt", "added");
  app_.Write("target.txt", "kept");

  // A high-score table with one score, then made read-only.
  ASSERT_TRUE(CreateTable("0hscore.ini", 10));
  ASSERT_EQ(extra_.HighScore_NewScore(500, "Ann", {}), 1);
  const std::map<std::string, std::string> files = {{"options.ini", options},
                                                    {"pack.vnl", archive},
                                                    {"0hscore.ini", app_.Read("0hscore.ini")},
                                                    {"target.txt", "kept"}};

  for (mode_t readOnly : {0444, 0400, 0}) {
    SCOPED_TRACE(readOnly);
    for (const auto& file : files) fs::permissions(app_.path() / file.first, fs::perms(readOnly));
    fs::remove(app_.path() / "log.txt");

    EXPECT_EQ(extra_.INIWrite("Options", "Music", "False", "options.ini"), 0);
    EXPECT_EQ(extra_.INIRead("Options", "Music", "options.ini"), "True");

    ASSERT_TRUE(extra_.PAK_OpenPAK("pack.vnl"));
    EXPECT_FALSE(extra_.PAK_AddFile("new.txt"));
    EXPECT_FALSE(extra_.PAK_DeleteFile("a"));
    EXPECT_EQ(extra_.PAK_FileCount(), 2) << "the index stays as the file is";
    EXPECT_FALSE(extra_.PAK_ExtractFile("a", "target.txt")) << "extracting onto a read-only file";

    EXPECT_EQ(extra_.HighScore_NewScore(600, "Bo", {}), 0) << "a score that was not stored did not enter";
    EXPECT_EQ(extra_.HighScore_GetName(1), "Ann");
    EXPECT_EQ(extra_.HighScore_CheckPos(600), 1);

    for (const auto& [name, bytes] : files) {
      EXPECT_EQ(app_.Read(name), bytes) << name;
      EXPECT_EQ(StatOf(app_.path() / name).st_mode & 07777, readOnly) << name;
    }
    for (const auto& entry : fs::directory_iterator(app_.path()))
      EXPECT_FALSE(Contains(entry.path().filename().string(), ".tmp-")) << entry.path();

    // The log names each file the archive, the table and the INI writes could not write, and why.
    const std::string log = app_.Read("log.txt"), native = app_.str() + "/";
    auto why = [&](const std::string& name) {
      return name + " (" + native + name + ": the file is read-only)";
    };
    for (const std::string& line :
         {"PAK - Cannot write to the archive : " + app_.str() + "\\" + why("pack.vnl"),
          "PAK - Cannot rewrite the archive : " + app_.str() + "\\" + why("pack.vnl"),
          "Error in INIWrite : " + why("options.ini")})
      EXPECT_TRUE(Contains(log, line)) << line << "\n" << log;
    EXPECT_EQ(app_.LogLines().back(),
              "Error in saving HighScores : " + app_.str() + "\\" + why("0hscore.ini"));
  }

  // Writable again, every call works as before.
  for (const auto& file : files) fs::permissions(app_.path() / file.first, fs::perms(0644));
  EXPECT_EQ(extra_.INIWrite("Options", "Music", "False", "options.ini"), 1);
  EXPECT_TRUE(extra_.PAK_AddFile("new.txt"));
  EXPECT_TRUE(extra_.PAK_ExtractFile("b", "target.txt"));
  EXPECT_EQ(extra_.HighScore_NewScore(600, "Bo", {}), 1);
}

TEST_F(PlayerFilesTest, AScoreThatCannotBeStoredLeavesTheTableAsItWas) {
  ASSERT_TRUE(CreateTable("t.ini", 10));
  // Ten ranks whose names grow longer down the table: a score bubbling up shortens each row it
  // passes, so the file only grows past its size when the new name is written at the top.
  for (int rank = 1; rank <= 10; ++rank)
    ASSERT_EQ(extra_.HighScore_NewScore(static_cast<float>(1100 - rank * 100), std::string(rank, 'n'), {}),
              rank);
  const std::string before = app_.Read("t.ini");

  // The disk fills up while the new row is written, after the rows below it were moved.
  const int16_t rank = testsupport::WithFileSizeLimit(
      before.size() + 64, [&] { return extra_.HighScore_NewScore(950, std::string(300, 'L'), {}); });

  EXPECT_EQ(rank, 0);
  EXPECT_EQ(app_.Read("t.ini"), before) << "the moved rows are put back";
  for (int16_t row = 1; row <= 10; ++row) {
    EXPECT_EQ(extra_.HighScore_GetName(row), std::string(static_cast<size_t>(row), 'n'));
    EXPECT_EQ(extra_.HighScore_GetScore(row), static_cast<float>(1100 - row * 100));
  }
  EXPECT_EQ(extra_.HighScore_GetName(11), "");
  EXPECT_EQ(app_.LogLines().back().rfind("Error in saving HighScores : " + app_.str() + "\\t.ini (", 0), 0u)
      << "the line names the table and why it could not be written";
}

TEST_F(PlayerFilesTest, ReplacedFilesKeepModeOwnerAndLinks) {
  // The player's files sit elsewhere and are reached through links: relative, absolute, a chain.
  fs::create_directories(app_.path() / "real");
  app_.Write("real/options.ini", "[Options]\r\nMusic=True\r\n");
  app_.Write("real/pack.vnl", "a" + kHere + "1" + kSplit + "b" + kHere + "2" + kSplit);
  app_.Write("real/0hscore.ini", "[setup]\r\nTopX=3\r\nadditionalValues=0\r\n");
  fs::create_symlink("real/options.ini", app_.path() / "options.ini");
  fs::create_symlink(app_.path() / "real" / "pack.vnl", app_.path() / "pack.vnl");
  fs::create_symlink("real/0hscore.ini", app_.path() / "middle.ini");
  fs::create_symlink("middle.ini", app_.path() / "0hscore.ini");
  const std::pair<const char*, mode_t> modes[] = {
      {"options.ini", 0640}, {"pack.vnl", 0604}, {"0hscore.ini", 0600}};
  // Run as root, the files belong to a player; the replaced ones must stay the player's.
  const bool root = ::geteuid() == 0;
  const std::pair<uid_t, gid_t> owner(root ? 4321 : ::geteuid(), root ? 4321 : ::getegid());
  for (auto [name, mode] : modes) {
    fs::permissions(app_.path() / "real" / name, fs::perms(mode));
    ASSERT_EQ(::chown((app_.path() / "real" / name).c_str(), owner.first, owner.second), 0);
  }

  EXPECT_EQ(extra_.INIWrite("Options", "Music", "False", "options.ini"), 1);
  ASSERT_TRUE(extra_.PAK_OpenPAK("pack.vnl"));
  EXPECT_TRUE(extra_.PAK_DeleteFile("a"));
  ASSERT_TRUE(CreateTable("0hscore.ini", 3));
  EXPECT_EQ(extra_.HighScore_NewScore(10, "Ann", {}), 1);

  EXPECT_EQ(app_.Read("real/options.ini"), "[Options]\r\nMusic=False\r\n");
  EXPECT_EQ(app_.Read("real/pack.vnl"), "b" + kHere + "2" + kSplit);
  EXPECT_TRUE(Contains(app_.Read("real/0hscore.ini"), "1_name=Ann\r\n"));
  EXPECT_EQ(fs::read_symlink(app_.path() / "options.ini"), "real/options.ini");
  EXPECT_EQ(fs::read_symlink(app_.path() / "pack.vnl"), app_.path() / "real" / "pack.vnl");
  EXPECT_EQ(fs::read_symlink(app_.path() / "0hscore.ini"), "middle.ini");
  EXPECT_EQ(fs::read_symlink(app_.path() / "middle.ini"), "real/0hscore.ini");
  for (auto [name, mode] : modes) {
    const struct stat info = StatOf(app_.path() / "real" / name);
    EXPECT_EQ(info.st_mode & 07777, mode) << name;
    EXPECT_EQ(std::pair(info.st_uid, info.st_gid), owner) << name;
  }
  for (const auto& entry : fs::recursive_directory_iterator(app_.path()))
    EXPECT_FALSE(Contains(entry.path().filename().string(), ".tmp-")) << entry.path();
}
