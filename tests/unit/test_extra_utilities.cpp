// SPDX-License-Identifier: Zlib
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <thread>
#include <tuple>
#include <utility>

#include "TempAppFolder.h"
#include "modExtra.h"
#include "platform/FolderChooser.h"
#include "platform/Net.h"
#include "tovak2d/Extra.h"

using namespace tovak2d;
using testsupport::TempAppFolder;

using Names = std::vector<std::string>;

TEST(FilesInFolder, ListsPlainFilesInNameOrder) {
  TempAppFolder app;
  Extra extra;
  for (const char* name : {"b.vnl", "A.vnl", "c.vnl", ".hidden", "sub/deep.vnl", "sub/deeper/deepest.vnl"})
    app.Write(std::string("packs/") + name, "");
  std::filesystem::create_directories(app.path() / "packs/empty");
  std::filesystem::create_directories(app.path() / "nothing");

  for (const char* folder : {"packs", "\\packs\\", "PACKS"})
    EXPECT_EQ(extra.FilesInFolder(folder), (Names{"A.vnl", "b.vnl", "c.vnl"})) << folder;
  EXPECT_EQ(extra.FilesInFolder("packs", true), (Names{"A.vnl", "b.vnl", "c.vnl", "deep.vnl", "deepest.vnl"}))
      << "depth first, and an empty sub-folder adds nothing";

  for (const char* folder : {"nothing", "missing", ""})  // "": only folders inside the application folder
    EXPECT_EQ(extra.FilesInFolder(folder), (Names{""})) << folder;
}

// Calls only SDK programs make: one check each of the rule that could break.
TEST(FileUtilities, ArraysNamesDialogAndBrowser) {
  TempAppFolder app;
  Extra extra;
  Names names{"", "b"};  // an array whose first item is empty counts as empty
  extra.AddItem2Array1D(names, "x");
  EXPECT_EQ(names, Names{"x"});
  EXPECT_EQ(extra.GetFileExt("Photo.JPG"), "jpg");
  EXPECT_EQ(extra.GetFileExt("C:\\a.b\\c"), "b\\c");
  EXPECT_EQ(extra.GetFileShortName("C:\\x\\y.txt"), "y.txt");
  EXPECT_FALSE(extra.PAK_OpenPAK("", true)) << "no dialog under a test";
  // The folder the desktop portal answers with, as a file:// URI.
  using tovak2d::platform::folders::PathOfFileUri;
  EXPECT_EQ(PathOfFileUri("file:///home/jo/Sea%20Shore"), "/home/jo/Sea Shore");
  EXPECT_EQ(PathOfFileUri("file://localhost/tmp/%C3%A9t%c3%a9%2"), "/tmp/\xC3\xA9t\xC3\xA9%2");
  EXPECT_EQ(PathOfFileUri("file://server/share"), "");
  EXPECT_EQ(PathOfFileUri("sftp:///home"), "");

  // A stand-in browser records what it was given; the link reaches it as one argument, unexpanded.
  app.Write("bin/xdg-open", "#!/bin/sh\nprintf '%s|' \"$@\" > \"$(dirname \"$0\")/opened\"\n");
  std::filesystem::permissions(app.path() / "bin/xdg-open", std::filesystem::perms::owner_all);
  const std::string oldPath = std::getenv("PATH");
  setenv("PATH", (app.str() + "/bin:" + oldPath).c_str(), 1);
  extra.OpenWebsite("https://example.org/?a=1&b=$(touch pwned)");
  for (int i = 0; i < 200 && !app.Has("bin/opened"); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  setenv("PATH", oldPath.c_str(), 1);
  EXPECT_EQ(app.Read("bin/opened"), "https://example.org/?a=1&b=$(touch pwned)|");
  EXPECT_FALSE(app.Has("pwned"));
}

// The game downloads nothing; what the engine must never do is write outside the game folder or
// leave a failed download behind. (Nothing answers on port 1 of this machine.)
// Downloads come from a local server (this test's own child) into the game folder, never out of it.
TEST(FileUtilities, DownloadsStayInTheGameFolderAndFailuresLeaveNoFile) {
  TempAppFolder app;
  Extra extra;
  app.Write("served/pack.vnl", std::string(100000, 'p'));
  std::filesystem::create_directories(app.path() / "packs");
  const int port = 20000 + static_cast<int>(std::hash<std::string>{}(app.str()) % 20000);
  const std::string portText = std::to_string(port), served = (app.path() / "served").string();
  const pid_t server = fork();
  ASSERT_GE(server, 0);
  if (server == 0) {
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, STDOUT_FILENO);
    dup2(devNull, STDERR_FILENO);
    // The timeout ends the server even if this test dies before it can.
    execlp("timeout", "timeout", "20", "python3", "-m", "http.server", portText.c_str(), "--bind",
           "127.0.0.1", "--directory", served.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  // Ended by its process id however the test leaves, a failed assertion included.
  struct EndServer {
    pid_t pid;
    ~EndServer() {
      kill(pid, SIGTERM);
      waitpid(pid, nullptr, 0);
    }
  } endServer{server};
  const std::string url = "http://127.0.0.1:" + portText + "/pack.vnl";
  bool done = false;
  for (int i = 0; i < 100 && !done; ++i) {
    done = extra.DownloadFile(url, "packs\\pack.vnl");
    if (!done) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_TRUE(done);
  EXPECT_EQ(app.Read("packs/pack.vnl"), std::string(100000, 'p'));

  // A failure leaves no file behind; only network protocols are fetched; no name leads out.
  for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
           {"http://127.0.0.1:" + portText + "/missing", "packs\\x.vnl"},
           {"file://" + served + "/pack.vnl", "packs\\x.vnl"},
           {url, "a/../../x.vnl"}})
    EXPECT_FALSE(extra.DownloadFile(from, to)) << from << " " << to;
  EXPECT_FALSE(app.Has("packs/x.vnl"));
  EXPECT_FALSE(std::filesystem::exists(app.path().parent_path() / "x.vnl"));
  EXPECT_NE(app.Read("log.txt").find("outside the game folder"), std::string::npos);
}

TEST(FileUtilities, OnlineMeansADefaultRoute) {
  TempAppFolder app;
  const std::string head = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\n";
  app.Write("route", head + "eth0\t0000A8C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\n");
  EXPECT_FALSE(platform::net::HasDefaultRoute((app.path() / "route").string()));
  app.Write("route", head + "eth0\t00000000\t0100A8C0\t0003\t0\t0\t0\t00000000\n");
  EXPECT_TRUE(platform::net::HasDefaultRoute((app.path() / "route").string()));
}

// Random numbers cover both ends at half weight; a rectangle holds its edges and another one is in it
// when one of its corners is; the mouse over an area does not count its edge.
TEST(Geometry, RandomNumbersRectanglesAnglesAndSteps) {
  Extra extra;
  std::map<int32_t, int> counts;
  for (int i = 0; i < 30000; ++i) ++counts[extra.RndNum(1, 3)];
  ASSERT_EQ(counts.size(), 3u);
  EXPECT_NEAR(counts[2] / static_cast<double>(counts[1]), 2.0, 0.25);
  EXPECT_NEAR(counts[2] / static_cast<double>(counts[3]), 2.0, 0.25);

  const RECT r{10, 20, 30, 40};
  for (auto [x, y, inside] : {std::tuple{10.0f, 20.0f, true}, {30.0f, 40.0f, true}, {30.5f, 40.0f, false}})
    EXPECT_EQ(extra.IsPointInRect(x, y, r), inside) << x << "," << y;
  for (auto [rect, inside] : {std::pair{RECT{25, 35, 100, 100}, true}, {RECT{0, 0, 100, 100}, false}})
    EXPECT_EQ(extra.IsRectInRect(rect, r), inside) << rect.Left;

  const Mouse saved = modExtra::lastMouse;
  modExtra::lastMouse.X = 50;
  modExtra::lastMouse.Y = 60;
  EXPECT_TRUE(extra.IsMouseOverArea(40, 50, 20, 20));
  EXPECT_FALSE(extra.IsMouseOverArea(50, 50, 20, 20)) << "an edge does not count";
  modExtra::lastMouse = saved;

  // One turn is taken off or added, once.
  for (auto [angle, wrapped] : {std::pair<float, float>{360, 0}, {-90, 270}, {720, 360}}) {
    extra.WrapAngle(angle);
    EXPECT_EQ(angle, wrapped);
  }
  EXPECT_FLOAT_EQ(extra.GetDistance(0, 0, 3, 4), 5);
  // Points in three quarters and on the axis between the other two.
  for (auto [x, y, angle] :
       {std::tuple<float, float, float>{1, 1, 45}, {-1, -1, 225}, {1, -1, 315}, {-5, 0, 180}})
    EXPECT_FLOAT_EQ(extra.GetAngle(0, 0, x, y), angle) << x << "," << y;
  EXPECT_THROW(extra.GetAngle(3, 3, 3, 3), MathError);

  // A step along the angle (once the engine has started and set its degree factor).
  const float savedRad = modExtra::degToRad;
  modExtra::degToRad = static_cast<float>(M_PI / 180);
  float x = 0, y = 0;
  extra.GoToAngle(x, y, 90, 2);
  EXPECT_TRUE(std::abs(x) < 1e-5f && std::abs(y - 2) < 1e-5f) << x << "," << y;
  modExtra::degToRad = savedRad;
}
