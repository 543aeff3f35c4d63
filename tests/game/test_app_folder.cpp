// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "AppFolder.h"
#include "TestFiles.h"

namespace fs = std::filesystem;

namespace {

// A fresh folder holding an installed game: bin/ and share/varnel with data, sounds and packs.
class AppFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(root / "bin");
    installed = root / "share" / "varnel";
    Write(installed / "game data" / "pictures.vnl", "pictures");
    Write(installed / "game data" / "options.ini", "[options]\n");
    Write(installed / "sound" / "click.wav", "click");
    Write(installed / "packs" / "city.vnl", "city pack");
    Write(installed / "packs" / "sea.vnl", "sea pack");
    user = root / "home" / ".local" / "share" / "varnel";
  }

  void TearDown() override { MakeWritable(); }

  static constexpr auto& Write = testsupport::WriteFile;
  static constexpr auto& Read = testsupport::ReadFile;

  void MakeReadOnly() {
    fs::permissions(installed, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
  }
  void MakeWritable() { fs::permissions(installed, fs::perms::owner_all, fs::perm_options::add); }
  std::string Choose() { return varnel::ChooseAppFolder((root / "bin").string(), user.string()); }

  testsupport::TempFolder root;
  fs::path installed, user;
};

TEST_F(AppFolderTest, BuildFolderAndWritableInstallStayWhereTheyAre) {
  const fs::path build = root / "build";
  Write(build / "game data" / "pictures.vnl", "pictures");
  EXPECT_EQ(varnel::ChooseAppFolder(build.string(), user.string()), build.string());

  EXPECT_EQ(Choose(), installed.string());
  EXPECT_FALSE(fs::exists(user));

  // No data anywhere: the program's folder, as before installing existed.
  const fs::path bare = root / "bare" / "bin";
  fs::create_directories(bare);
  EXPECT_EQ(varnel::ChooseAppFolder(bare.string(), user.string()), bare.string());
}

// What a read-only install's fill links and copies, and what later starts keep and add, is walked by
// FirstFillFaults and the install script; here: the player's options stay, and links into a moved
// installation are pointed at the new one.
TEST_F(AppFolderTest, ReadOnlyInstallFillsTheUsersFolderOrFallsBackToTheInstalledOne) {
  MakeReadOnly();
  ASSERT_EQ(Choose(), user.string());
  Write(user / "game data" / "options.ini", "[options]\nmusic=0\n");
  fs::remove(user / "sound" / "click.wav");
  fs::create_symlink(root / "gone" / "click.wav", user / "sound" / "click.wav");
  ASSERT_EQ(Choose(), user.string());
  EXPECT_EQ(Read(user / "sound" / "click.wav"), "click");
  EXPECT_EQ(Read(user / "game data" / "options.ini"), "[options]\nmusic=0\n") << "the player's options stay";

  // A user folder that cannot be made (a file in its way, or no home): the installed folder.
  Write(root / "in the way", "a file where a folder should be");
  EXPECT_EQ(varnel::ChooseAppFolder((root / "bin").string(), (root / "in the way" / "varnel").string()),
            installed.string());
  EXPECT_EQ(varnel::ChooseAppFolder((root / "bin").string(), ""), installed.string());
}

TEST(UserDataFolder, FollowsXdgDataHomeOrHome) {
  EXPECT_EQ(varnel::UserDataFolder("/data/me", "/home/me"), "/data/me/varnel");
  // A relative (or empty, or no) XDG_DATA_HOME is to be ignored.
  EXPECT_EQ(varnel::UserDataFolder("data", "/home/me"), "/home/me/.local/share/varnel");
  EXPECT_EQ(varnel::UserDataFolder(nullptr, "relative/home"), "");
}

}  // namespace
