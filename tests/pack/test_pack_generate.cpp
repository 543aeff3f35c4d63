// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include "PackFixtures.h"

namespace {

using namespace packtest;

TEST(Generate, MakesPacksThatVerifyAgreesWith) {
  TempFolder work;
  ToolRun run =
      RunTool({"generate", "--layout", "vertical", "--levels", "3", "--seed", "5", "v.vnl"}, work.path());
  ASSERT_EQ(run.status, 0) << run.err;
  run = RunTool({"verify", "v.vnl"}, work.path());
  EXPECT_EQ(run.out, "v.vnl: sound, 3 levels, vertical\n") << run.err;

  run = RunTool(
      {"generate", "--layout", "horizontal", "--levels", "2", "--seed", "9", "--theme", "KITCHEN", "h.vnl"},
      work.path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Contains(run.out, "theme Kitchen Table")) << run.out;
  run = RunTool({"verify", "h.vnl"}, work.path());
  EXPECT_EQ(run.out, "h.vnl: sound, 2 levels, horizontal\n") << run.err;

  // The same seed gives the same pack, byte for byte.
  RunTool(
      {"generate", "--layout", "horizontal", "--levels", "2", "--seed", "9", "--theme", "kitchen", "h2.vnl"},
      work.path());
  EXPECT_EQ(ReadFile(work / "h.vnl"), ReadFile(work / "h2.vnl"));

  // What it cannot make is refused with status 2 and nothing written.
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--layout", "vertical", "--levels", "0", "--seed", "1", "x.vnl"},
       "--levels must be a number from 1 to 50"},
      {{"--layout", "vertical", "--levels", "2", "--seed", "-4", "x.vnl"}, "--seed must be a whole number"},
      {{"--layout", "vertical", "--levels", "2", "--seed", "1", "--theme", "valley", "x.vnl"},
       "the theme Green Valley is horizontal, not vertical"},
      {{"--layout", "vertical", "--levels", "2", "--seed", "1", "--theme", "moon", "x.vnl"},
       "no theme \"moon\""},
  };
  for (const auto& [arguments, message] : cases) {
    std::vector<std::string> command{"generate"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    run = RunTool(command, work.path());
    EXPECT_EQ(run.status, 2) << message;
    EXPECT_TRUE(Contains(run.err, message)) << run.err;
  }
  EXPECT_FALSE(fs::exists(work / "x.vnl"));
}

}  // namespace
