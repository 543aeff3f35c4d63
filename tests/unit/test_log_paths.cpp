// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include <filesystem>

#include "Paths.h"
#include "TempAppFolder.h"
#include "modExtra.h"
#include "platform/Files.h"
#include "tovak2d/Extra.h"

using namespace tovak2d;
using testsupport::TempAppFolder;

TEST(PathRule, JoinsToTheApplicationFolderOnceAndWindowsNamesReachTheRightFiles) {
  TempAppFolder app;
  const std::string a = app.str();
  for (auto [name, resolved] : {std::pair{std::string("0hscore.ini"), a + "\\0hscore.ini"},
                                {"\\game data\\pictures.vnl", a + "\\\\game data\\pictures.vnl"},
                                {"/packs/x.vnl", a + "\\/packs/x.vnl"},
                                {"C:\\temp\\x.txt", "C:\\temp\\x.txt"},
                                {a + "\\out", a + "\\out"}})  // already in the folder: not joined twice
    EXPECT_EQ(paths::Resolve(name), resolved);
  // Short names and extensions: FileUtilities.ArraysNamesDialogAndBrowser, through Extra.

  app.Write("Game Data/Pictures.VNL", "x");
  // Doubled separators, backslashes and another letter case all find the file.
  EXPECT_TRUE(platform::files::Exists(paths::Resolve("\\game data\\pictures.vnl")));
  EXPECT_EQ(platform::files::ToNative(paths::Resolve("\\game data\\pictures.vnl")).filename(),
            "Pictures.VNL");
  // A new file in an existing folder keeps the folder's spelling and its own.
  EXPECT_EQ(platform::files::ToNative(paths::Resolve("GAME DATA\\new.ini")),
            app.path() / "Game Data" / "new.ini");
  // A drive letter starts at the root.
  EXPECT_EQ(platform::files::ToNative("C:\\tmp\\x.txt"), std::filesystem::path("/tmp/x.txt"));

  paths::MakeFolder("a\\b");  // only the last level is made; a missing parent is ignored
  EXPECT_FALSE(app.Has("a"));
}

TEST(Log, AppendsLinesWhereTheRulesSayAndCheckFileLogsMissingFiles) {
  TempAppFolder app;
  modExtra::WriteLog("first");
  modExtra::WriteLog("second", "");
  EXPECT_EQ(app.Read("log.txt"), "first\r\nsecond\r\n");
  EXPECT_THROW(modExtra::WriteLog("x", "missing\\x.txt"), modExtra::LogError);

  Extra extra;
  extra.SaveLog("through Extra");
  extra.SaveLog("nowhere", "missing\\x.txt");  // a log that cannot be written is no crash
  EXPECT_EQ(app.LogLines().back(), "through Extra");
  std::filesystem::remove(app.path() / "log.txt");

  app.Write("folder/here.txt", "");
  for (const std::string& name : {std::string("folder\\here.txt"), std::string("FOLDER\\HERE.TXT"),
                                  std::string("folder"), paths::Resolve("folder\\here.txt")})
    EXPECT_TRUE(modExtra::CheckFile(name)) << name;
  // The texture-size file is usually absent and never logged.
  EXPECT_FALSE(modExtra::CheckFile("t2do.ini") || modExtra::CheckFile("T2DO.INI"));
  EXPECT_FALSE(app.Has("log.txt"));

  // A relative name is never looked up in the process's current folder.
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(app.path() / "folder");
  EXPECT_FALSE(modExtra::CheckFile("here.txt"));
  std::filesystem::current_path(cwd);
  ASSERT_EQ(app.LogLines().size(), 1u);
  EXPECT_EQ(app.LogLines()[0], "File is missing : " + app.str() + "\\here.txt");

  EXPECT_TRUE(extra.FileExists("folder\\here.txt"));
  EXPECT_FALSE(extra.FileExists("here.txt"));
}
