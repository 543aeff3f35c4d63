// SPDX-License-Identifier: Zlib
// A pack dropped on the window, and one made from photos, meeting a full disk or a read-only packs
// folder: the player is told which folder refused and why, the log says it in one line, nothing of
// the new pack is left, and the packs (their scores too) are as they were. Root may write into a
// read-only folder, so the refusal comes from the fault library, with the error a player gets.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "ChildProcess.h"
#include "DiskSpace.h"
#include "FaultShim.h"
#include "PhotoPack.h"
#include "ReliabilitySupport.h"

namespace {

using namespace reliability;

// Every file of the folder with a digest of its bytes.
std::map<std::string, size_t> Files(const fs::path& folder) {
  std::map<std::string, size_t> files;
  for (const std::string& name : Listing(folder))
    files[name] = std::hash<std::string>{}(testsupport::ReadFile(folder / name));
  return files;
}

TEST(AddingPackFaults, AFullDiskOrAReadOnlyPacksFolderIsNamedAndNothingIsLeft) {
  testsupport::TempFolder from;
  shelldata::WritePack(from.path(), "Sea.vnl", play::GoodPack(2, true, play::FullTable()));
  fs::create_directories(from / "Holiday");
  for (const char* photo : {"coffee.png", "chelsea.png"})
    fs::copy_file(fs::path("/usr/lib/python3/dist-packages/skimage/data") / photo, from / "Holiday" / photo);
  // The game finds the tool on the PATH.
  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin";
  setenv("PATH", (fs::path(VARNEL_PACK_BINARY).parent_path().string() + ":" + path).c_str(), 1);

  play::PlaySession session(ScoredPacks());
  ASSERT_TRUE(session.game.started);
  session.ClickMenu(0);
  const fs::path folder = session.game.folder;
  const std::string packs = (folder / "packs").string();
  const auto before = Files(folder / "packs");
  for (const auto& [error, why] : {std::pair{ENOSPC, "the disk " + varnel::DiskOf(packs) + " is full"},
                                   std::pair{EACCES, std::string("the folder is read-only")}}) {
    SCOPED_TRACE(std::strerror(error));
    // The drop: the copy into the packs folder is refused at its start, or a disk fills in its middle.
    varnel_fault_arm(error == EACCES ? 1 : 2, error);
    session.game.Drop({from / "packs" / "Sea.vnl"});
    varnel_fault_arm(0, 0);
    EXPECT_EQ(fs::path(varnel_fault_fired_on()).parent_path(), packs);
    const std::string told = "Sea.vnl could not be copied into " + packs + ": " + why + ".";
    EXPECT_TRUE(session.Drew(told)) << told;
    EXPECT_TRUE(testsupport::Contains(session.Log(), "Drop : " + told + "\r\n")) << session.Log();

    // The making: the tool is refused a write in the middle of the pack (its log's lines come first).
    setenv("LD_PRELOAD", VARNEL_FAULT_SHIM, 1);
    setenv("VARNEL_FAULT_AT", "20", 1);
    setenv("VARNEL_FAULT_ERRNO", std::to_string(error).c_str(), 1);
    session.game.Drop({from / "Holiday"});
    for (const char* name : {"LD_PRELOAD", "VARNEL_FAULT_AT", "VARNEL_FAULT_ERRNO"}) unsetenv(name);
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (varnel::PhotoPackState().phase == varnel::PhotoPackPhase::kMaking && Clock::now() < deadline)
      session.game.Pass();
    const std::string outcome = "The pack could not be written (" + why + "): " + packs;
    EXPECT_EQ(varnel::PhotoPackState().outcome, outcome);
    EXPECT_TRUE(testsupport::Contains(session.Log(), "Photo pack: " + outcome + "\r\n"));
    varnel::ClosePhotoPackReport();

    EXPECT_EQ(Files(folder / "packs"), before) << "a pack changed, or something of the new one stayed";
    EXPECT_FALSE(fs::exists(folder / "photo pack work"));
  }
  setenv("PATH", path.c_str(), 1);
}

}  // namespace
