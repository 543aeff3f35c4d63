// SPDX-License-Identifier: Zlib
// varnel-pack's writing commands run once per N with the fault library preloaded, the N-th
// write-side call failing. For every N the tool ends by itself with status 0 or 1, writes nowhere
// but its folder and its scratch folder and leaves no scratch behind; when it fails, the pack it
// was to write is exactly as it was, no partial file stays beside it, and the message names the
// cause; when it succeeds, the pack reads whole.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "FaultShim.h"
#include "ReliabilitySupport.h"

namespace {

using namespace reliability;

using testsupport::ReadFile;

struct ToolRun : FaultCount, testsupport::ToolRun {};

// Runs the tool in folder under a time limit; failAt 0 only counts the write-side calls. Its
// scratch folder goes to "tmp" beside folder, and writes may reach nothing but folder's parent.
ToolRun RunTool(const std::vector<std::string>& arguments, const fs::path& folder, long failAt, int err) {
  const fs::path report = folder.string() + ".report";
  // Only the tool itself gets the library: timeout and env run without it.
  ToolRun run;
  static_cast<testsupport::ToolRun&>(run) = testsupport::RunTool(
      VARNEL_PACK_BINARY, arguments, folder,
      "env LD_PRELOAD=" + testsupport::Quote(VARNEL_FAULT_SHIM) +
          " VARNEL_FAULT_AT=" + std::to_string(failAt) + " VARNEL_FAULT_ERRNO=" + std::to_string(err) +
          " VARNEL_FAULT_REPORT=" + testsupport::Quote(report.string()) +
          " VARNEL_FAULT_CONFINE=" + testsupport::Quote(folder.parent_path().string()) +
          " TMPDIR=" + testsupport::Quote((folder.parent_path() / "tmp").string()));
  ReadFaultCount(ReadFile(report), run);
  std::error_code ec;
  fs::remove(report, ec);
  return run;
}

class PackFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = root_ / "base";
    fs::create_directories(base_);
    fs::create_directories(root_ / "tmp");
    // A pack and its level's pictures, made without faults.
    ASSERT_EQ(RunTool({"generate", "--layout", "vertical", "--levels", "1", "--seed", "3", "target.vnl"},
                      base_, 0, ENOSPC)
                  .status,
              0);
    ASSERT_EQ(RunTool({"extract", "target.vnl", "src"}, base_, 0, ENOSPC).status, 0);
    std::ofstream(base_ / "note.txt") << "a note\n";
  }
  // Sweeps one command: every N up to `most` write-side calls, else an even spread of `most`.
  void Sweep(const std::vector<std::string>& arguments, long most = 40) {
    SCOPED_TRACE(arguments[0]);
    const fs::path work = root_ / "work";
    const auto fresh = [&] {
      std::error_code ec;
      fs::remove_all(work, ec);
      fs::copy(base_, work, fs::copy_options::recursive);
    };
    fresh();
    const ToolRun clean = RunTool(arguments, work, 0, ENOSPC);
    ASSERT_EQ(clean.status, 0) << clean.err;
    EXPECT_EQ(clean.outside, "") << "written outside the folder";
    ASSERT_GT(clean.calls, 0);
    const std::string before = ReadFile(base_ / "target.vnl");
    const std::set<std::string> names = Listing(base_);
    for (const long n : SweepPoints(clean.calls, most)) {
      const int err = SweepError(n);
      SCOPED_TRACE("call " + std::to_string(n) + " failing with " + std::strerror(err));
      fresh();
      const ToolRun run = RunTool(arguments, work, n, err);
      ASSERT_TRUE(run.status == 0 || run.status == 1) << "status " << run.status << ": " << run.err;
      EXPECT_EQ(Listing(work), names) << "a file was left behind or went missing";
      EXPECT_EQ(run.outside, "") << "written outside the folder";
      EXPECT_TRUE(fs::is_empty(root_ / "tmp")) << "the scratch folder was left behind";
      const auto pack = ReadArchive(work / "target.vnl");
      ASSERT_TRUE(pack) << "the pack does not read whole";
      if (run.status != 0) {
        EXPECT_EQ(ReadFile(work / "target.vnl"), before) << "a failed command changed the pack";
        EXPECT_NE(run.err.find(std::strerror(err)), std::string::npos)
            << "the cause is not named: " << run.err;
      }
    }
  }

  testsupport::TempFolder root_;
  fs::path base_;
};

// Each writing command, the photos one replacing a pack with one sample photo of scikit-image's (a
// Debian package scripts/setup installs) at every N.
TEST_F(PackFaults, EveryWritingCommand) {
  const fs::path photo = "/usr/lib/python3/dist-packages/skimage/data/coffee.png";
  ASSERT_TRUE(fs::exists(photo)) << photo << " is missing";
  fs::create_directories(base_ / "photos");
  fs::copy_file(photo, base_ / "photos" / "coffee.png");
  Sweep({"make", "--layout", "vertical", "--title", "Again", "--rects", "src/picinfo.ini", "--force", "src",
         "target.vnl"});
  Sweep({"generate", "--layout", "vertical", "--levels", "1", "--seed", "5", "--force", "target.vnl"});
  Sweep({"photos", "--seed", "3", "--title", "Coffee", "--force", "photos", "target.vnl"}, 200);
  Sweep({"add", "target.vnl", "note.txt"});
  Sweep({"delete", "target.vnl", "packinfo.ini"});
  Sweep({"reset-scores", "target.vnl"});
}

}  // namespace
