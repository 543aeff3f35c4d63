// SPDX-License-Identifier: Zlib
// Packs as a stranger could send them, met by the real game at start-up: entry names that point
// out of the game folder, a pack of 300 MB, one of ten thousand tiny entries and settings files of
// megabytes. Each is listed
// or left out with a log line, never with a crash, and nothing lands outside the game folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "PlayHelpers.h"
#include "ShellData.h"
#include "modDeclares.h"
#include "modMain.h"

namespace fs = std::filesystem;
using shelldata::Entries;

namespace {

// Part of every name a hostile entry would write to, so that strays can be found anywhere.
std::string Token() {
  return "vnlhostile" + std::to_string(::getpid());
}

// Files whose names carry the token in the folders a name could escape to.
std::vector<std::string> Strays(const fs::path& gameFolder) {
  std::vector<std::string> found;
  for (const fs::path& folder : {gameFolder.parent_path(), fs::current_path(), fs::path("/tmp")}) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
      if (it->path().filename().string().find(Token()) != std::string::npos)
        found.push_back(it->path().string());
  }
  return found;
}

constexpr auto& IndexOf = play::PlaySession::PackIndex;

}  // namespace

TEST(ShellHostilePacks, HostileNamesAndHugePacksAreListedOrLeftOutAndNothingLeavesTheFolder) {
  const std::string t = Token();
  // A playable pack with extra entries aimed out of the folder, and one whose own entries are
  // stored under such names: the game looks entries up by their short names only.
  Entries names = play::GoodPack(1, true, shelldata::Table({{"100", "Ann"}}));
  for (const std::string& name : testsupport::NamesLeadingOut(t)) names.emplace_back(name, "stray");
  names.insert(names.end(), {{std::string(300, 'n') + t, "stray"}, {"hscore.ini\\", "stray"}});
  Entries stored = play::GoodPack(1, false, shelldata::Table({}));
  for (auto& [name, contents] : stored) name = "..\\..\\" + t + "\\" + name;

  constexpr uint64_t kPadding = 300ull << 20;
  Entries many = play::GoodPack(2, true, shelldata::Table({{"50", "Cy"}}));
  for (int i = 0; i < 10000; ++i) many.emplace_back("tiny" + std::to_string(i) + ".txt", std::to_string(i));

  // Settings and tables are read again on every frame that shows a pack: big ones keep it out.
  const std::string padding(2 << 20, ';');
  Entries bigSettings = play::GoodPack(1, true, shelldata::Table({}));
  bigSettings[0].second += padding + "\r\n";
  Entries bigTable = play::GoodPack(1, true, shelldata::Table({}) + padding);

  GameHarness game(true, [&](const fs::path& folder) {
    shelldata::WithPacks({{"names.vnl", names}, {"stored.vnl", stored}})(folder);
    for (const auto& [name, entries] :
         {std::pair{"many.vnl", many}, {"big settings.vnl", bigSettings}, {"big table.vnl", bigTable}})
      shelldata::WritePack(folder, name, entries);
    // The big pack: a playable pack, then a 300 MB entry left as a hole in a sparse file, then
    // the table, which the game must find after it.
    Entries head = play::GoodPack(1, false, shelldata::Table({}));
    testsupport::RemoveEntry(head, "hscore.ini");
    const fs::path big = folder / "packs" / "huge.vnl";
    shelldata::Put(big, shelldata::Archive(head) + shelldata::Archive({{"padding.bin", ""}}));
    fs::resize_file(big, fs::file_size(big) + kPadding);
    std::ofstream(big, std::ios::binary | std::ios::app)
        << shelldata::Archive({{"hscore.ini", shelldata::Table({{"70", "Di"}})}});
  });
  ASSERT_TRUE(game.started);
  game.Pass();  // the pack scan runs in the first pass
  ASSERT_NE(IndexOf("huge.vnl"), -1);
  ASSERT_NE(IndexOf("many.vnl"), -1);
  EXPECT_EQ(game.Read(std::to_string(IndexOf("huge.vnl")) + "hscore.ini"), shelldata::Table({{"70", "Di"}}));
  EXPECT_EQ(game.Read(std::to_string(IndexOf("many.vnl")) + "packinfo.ini"),
            shelldata::PackInfo("2", "True"));
  EXPECT_EQ(IndexOf("big settings.vnl"), -1);
  EXPECT_EQ(IndexOf("big table.vnl"), -1);
  const std::string log = game.Read("log.txt");
  EXPECT_NE(log.find("Pack left out : packs\\big settings.vnl : packinfo.ini is larger than 1 MB"),
            std::string::npos);
  EXPECT_NE(log.find("Pack left out : packs\\big table.vnl : hscore.ini is larger than 1 MB"),
            std::string::npos);
  EXPECT_NE(IndexOf("names.vnl"), -1);
  EXPECT_NE(IndexOf("stored.vnl"), -1);
  EXPECT_EQ(game.Read(std::to_string(IndexOf("names.vnl")) + "hscore.ini"),
            shelldata::Table({{"100", "Ann"}}));

  // A new score is written back into the pack of ten thousand entries, which keeps them all.
  const int manyIndex = IndexOf("many.vnl");
  shelldata::Put(game.folder / (std::to_string(manyIndex) + "hscore.ini"), shelldata::Table({{"80", "Ed"}}));
  varnel::SavePackScore(static_cast<int16_t>(manyIndex));
  const std::string saved = shelldata::Bytes(game.folder / "packs" / "many.vnl");
  EXPECT_NE(saved.find("1_name=Ed"), std::string::npos);
  EXPECT_NE(saved.find("tiny9999.txt"), std::string::npos);

  // A new best score goes back into the pack, which keeps every hostile entry as it was.
  const std::string table = std::to_string(IndexOf("names.vnl")) + "hscore.ini";
  shelldata::Put(game.folder / table, shelldata::Table({{"900", "Bea"}}));
  game.Shutdown();
  const std::string pack = shelldata::Bytes(game.folder / "packs" / "names.vnl");
  EXPECT_NE(pack.find("1_name=Bea"), std::string::npos);
  EXPECT_NE(pack.find("/tmp/" + t + ".txt"), std::string::npos);
  EXPECT_TRUE(Strays(game.folder).empty()) << Strays(game.folder).front();
  EXPECT_EQ(fs::file_size(game.folder / "packs" / "huge.vnl") > kPadding, true) << "the big pack stays whole";
}
