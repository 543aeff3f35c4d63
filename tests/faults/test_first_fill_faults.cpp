// SPDX-License-Identifier: Zlib
// An installed game's first start fills the player's own game folder from the installed one: links
// to the pictures and sounds, a copy of the options and of every pack, and the list of the packs
// copied. The fill runs once per N, the N-th write-side call failing. For every N it writes nothing
// outside the player's folder, leaves no partial file, every file and link there is whole and right,
// the list names exactly the packs there, standard error names the cause, and the next start
// completes the fill.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <map>
#include <string>

#include "AppFolder.h"
#include "FaultShim.h"
#include "TestFiles.h"

namespace {

namespace fs = std::filesystem;

// The folder's tree: each path under it with "folder", "link to TARGET" or "file BYTES".
using Tree = std::map<std::string, std::string>;
Tree TreeOf(const fs::path& folder) {
  Tree tree;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().lexically_relative(folder).string();
    if (it->is_symlink())
      tree[name] = "link to " + fs::read_symlink(it->path()).string();
    else if (it->is_directory())
      tree[name] = "folder";
    else
      tree[name] = "file " + testsupport::ReadFile(it->path());
  }
  return tree;
}

struct Fill : FaultCount {
  std::string used, err;
};

// Fills user from installed, failing its failAt-th write-side call (0: none). Standard error goes to
// a pipe meanwhile: the shim does not count writes to one.
Fill RunFill(const fs::path& installed, const fs::path& user, long failAt, int err) {
  int errPipe[2] = {-1, -1};
  if (::pipe(errPipe) != 0) return {};
  const int savedErr = ::dup(STDERR_FILENO);
  ::dup2(errPipe[1], STDERR_FILENO);
  ::close(errPipe[1]);
  varnel_fault_confine(user.c_str());
  varnel_fault_arm(failAt, err);
  Fill fill;
  fill.used = varnel::SettleAppFolder({user.string(), installed.string()});
  ReadFaultCount(FaultCountLine(), fill);
  varnel_fault_confine(nullptr);
  varnel_fault_arm(0, 0);
  ::dup2(savedErr, STDERR_FILENO);
  ::close(savedErr);
  char chunk[4096];
  for (ssize_t n; (n = ::read(errPipe[0], chunk, sizeof chunk)) > 0;)
    fill.err.append(chunk, static_cast<size_t>(n));
  ::close(errPipe[0]);
  return fill;
}

TEST(FirstFillFaults, EveryFailingWriteLeavesWholeFilesIsNamedAndTheNextStartCompletesTheFill) {
  testsupport::TempFolder root;
  const fs::path installed = root / "share/varnel", user = root / "home/.local/share/varnel";
  fs::create_directories(installed);
  fs::create_directories(user.parent_path());
  for (const char* part : {"game data", "sound", "packs"})
    fs::copy(fs::path(VARNEL_GAME_DIR) / part, installed / part, fs::copy_options::recursive);
  const Fill clean = RunFill(installed, user, 0, ENOSPC);
  ASSERT_EQ(clean.used, user.string());
  EXPECT_EQ(clean.outside, "") << "written outside the player's folder";
  EXPECT_EQ(clean.err, "");
  const Tree full = TreeOf(user);
  ASSERT_TRUE(full.count("packs") && full.count("copied packs.txt")) << "the fill copies the packs";

  for (long n = 1; n <= clean.calls; ++n) {
    const int err = SweepError(n);
    SCOPED_TRACE("call " + std::to_string(n) + " failing with " + std::strerror(err));
    std::error_code ec;
    fs::remove_all(user, ec);
    const Fill fill = RunFill(installed, user, n, err);
    EXPECT_TRUE(fill.fired);
    EXPECT_EQ(fill.outside, "") << "written outside the player's folder";
    EXPECT_TRUE(fill.used == user.string() || fill.used == installed.string()) << fill.used;
    EXPECT_NE(fill.err.find(std::strerror(err)), std::string::npos) << "the cause is not named: " << fill.err;

    // What is there is what a whole fill leaves, and the list names exactly the packs there.
    const Tree tree = TreeOf(user);
    std::string packsThere;
    for (const auto& [name, what] : tree) {
      if (name == "copied packs.txt") continue;
      const auto whole = full.find(name);
      EXPECT_TRUE(whole != full.end() && whole->second == what) << name << " is partial or stray";
      if (fs::path(name).parent_path() == "packs") packsThere += fs::path(name).filename().string() + "\n";
    }
    if (tree.count("copied packs.txt")) {
      EXPECT_EQ(tree.at("copied packs.txt"), "file " + packsThere) << "the list of copied packs is wrong";
    }

    RunFill(installed, user, 0, ENOSPC);
    EXPECT_TRUE(TreeOf(user) == full) << "the next start did not complete the fill";
    if (::testing::Test::HasFailure()) return;
  }
}

}  // namespace
