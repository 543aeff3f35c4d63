// What the engine promises a power cut: a rewritten archive's new bytes are on the disk before the
// rename puts them in place, so a cut leaves the old archive or the new one, never an empty one.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "FaultShim.h"
#include "TestFiles.h"
#include "tovak2d/Engine.h"
#include "tovak2d/Extra.h"

namespace {

namespace fs = std::filesystem;
using testsupport::WriteFile;

TEST(DurableWrites, RewrittenArchivesAreSyncedBeforeTheyTakeThePlaceOfTheOld) {
  const fs::path folder = fs::temp_directory_path() / ("durable-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  WriteFile(folder / "pack.vnl", testsupport::RewrittenArchive({{"hscore.ini", "old table"}}));
  WriteFile(folder / "added.txt", "added");
  WriteFile(folder / "table.ini", "new table");
  tovak2d::Engine engine;
  ASSERT_TRUE(engine.Tovak2D_Start_OnlySound(nullptr, folder.string()));
  tovak2d::Extra extra;
  ASSERT_TRUE(extra.PAK_OpenPAK("pack.vnl"));

  ASSERT_TRUE(extra.PAK_AddFile("added.txt"));
  varnel_fault_arm(0, 0);
  ASSERT_TRUE(extra.PAK_DeleteFile("added.txt"));
  EXPECT_GE(varnel_fault_syncs(), 1) << "an archive rewritten without an entry";

  std::string why;
  varnel_fault_arm(0, 0);
  ASSERT_TRUE(extra.PAK_ReplaceEntry("pack.vnl", "table.ini", "hscore.ini", ".saving", why)) << why;
  EXPECT_GE(varnel_fault_syncs(), 1) << "an entry replaced through a copy";

  engine.Tovak2D_Unload();
  fs::remove_all(folder);
}

}  // namespace
