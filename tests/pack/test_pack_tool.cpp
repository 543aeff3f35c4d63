// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include "PackFixtures.h"

namespace {

using namespace packtest;

using PackTool = InWorkFolder;

TEST_F(PackTool, ArchiveCommandsKeepEntriesByteForByteAndStayInTheFolder) {
  const std::string binary("\0\xFF\r\n`*[S-P-L-I\x80", 14);
  WriteFile(work / "a.txt", "alpha");
  WriteFile(work / "b.bin", binary);
  WriteFile(work / "c.txt", "gamma");

  ToolRun run = Tool({"create", "t.vnl", "a.txt", "b.bin"});
  ASSERT_EQ(run.status, 0) << run.err;
  run = Tool({"list", "t.vnl"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Lines(run.out),
            (std::vector<std::string>{"         5  a.txt", "        14  b.bin", "2 entries, 19 bytes"}));
  run = Tool({"create", "t.vnl", "c.txt"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Contains(run.err, "already exists")) << run.err;

  EXPECT_EQ(Tool({"add", "t.vnl", "c.txt"}).status, 0);
  run = Tool({"add", "t.vnl", "c.txt", "C.TXT"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Contains(run.err, "already holds an entry named \"C.TXT\"")) << run.err;
  // Every kind of name leading out of a folder: test_pack_pictures.cpp.
  run = Tool({"add", "t.vnl", "a.txt", "..\\evil.txt"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Contains(run.err, "lead out of a folder")) << run.err;

  EXPECT_EQ(Tool({"delete", "t.vnl", "a.txt"}).status, 0);
  run = Tool({"delete", "t.vnl", "a.txt"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Contains(run.err, "holds no entry named \"a.txt\"")) << run.err;

  run = Tool({"extract", "t.vnl", "out"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFile(work / "out" / "b.bin"), binary);
  EXPECT_EQ(ReadFile(work / "out" / "c.txt"), "gamma");
  EXPECT_FALSE(fs::exists(work / "out" / "a.txt"));

  // Entries whose names lead out of the folder are neither extracted nor listed.
  fs::create_directory(work / "deep");
  WriteFile(work / "deep" / "h.vnl",
            AppendedArchive({{"good.txt", "fine"}, {"../evil.txt", "bad"}, {"/tmp/evil2.txt", "bad"}}));
  run = Tool({"extract", "deep/h.vnl", "deep/out"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Contains(run.err, "leads out of the folder")) << run.err;
  EXPECT_EQ(ReadFile(work / "deep" / "out" / "good.txt"), "fine");
  EXPECT_FALSE(fs::exists(work / "deep" / "evil.txt"));
  EXPECT_FALSE(fs::exists(work / "evil.txt"));
  run = Tool({"list", "deep/h.vnl"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Contains(run.out, "3 entries")) << run.out;
  EXPECT_TRUE(Contains(run.err, "2 entries are not listed")) << run.err;

  run = Tool({"list", "absent.vnl"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Contains(run.err, "no such pack file")) << run.err;
}

TEST_F(PackTool, PrintsAndResetsTheHighScoreTable) {
  const std::string scores =
      "[setup]\r\nTopX=3\r\nadditionalValues=0\r\n[scores]\r\n1_score=500\r\n1_name=Ann\r\n2_score=120\r\n"
      "2_name=Bj\xF6rn\r\n";
  WriteFile(work / "s.vnl",
            AppendedArchive({{"packinfo.ini", PackInfo("1", "True")}, {"hscore.ini", scores}}));
  ToolRun run = Tool({"scores", "s.vnl"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Lines(run.out), (std::vector<std::string>{"Rank  Score       Name", "   1  500         Ann",
                                                      "   2  120         Bj\xC3\xB6rn", "   3  -"}));

  run = Tool({"reset-scores", "s.vnl"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_FALSE(fs::exists(work / "s.vnl.part"));
  run = Tool({"scores", "s.vnl"});
  EXPECT_EQ(Lines(run.out),
            (std::vector<std::string>{"Rank  Score       Name", "   1  -", "   2  -", "   3  -"}));
  Tool({"extract", "s.vnl", "x"});
  EXPECT_EQ(ReadFile(work / "x" / "packinfo.ini"), PackInfo("1", "True"));

  WriteFile(work / "bad.vnl", AppendedArchive({{"hscore.ini", "[setup]\r\nTopX=lots\r\n"}}));
  run = Tool({"scores", "bad.vnl"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Contains(run.err, "cannot be read")) << run.err;
  WriteFile(work / "none.vnl", AppendedArchive({{"packinfo.ini", PackInfo("1", "True")}}));
  run = Tool({"scores", "none.vnl"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Contains(run.err, "no high-score table")) << run.err;
}

}  // namespace
