// SPDX-License-Identifier: Zlib
#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "EngineState.h"
#include "modExtra.h"
#include "platform/Files.h"
#include "platform/Images.h"
#include "platform/Video.h"
#include "tovak2d/Engine.h"

namespace tovak2d {
namespace {

// "screenshot" and the number with at least three digits: 1 gives screenshot001.bmp.
std::string ScreenshotName(const std::string& folder, int number) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%03d", number);
  return folder + "screenshot" + digits + ".bmp";
}

bool SaveFrame(platform::video::Device& device, const std::string& fileName, bool frontBuffer,
               std::string& why) {
  platform::images::Image frame;
  const bool read = frontBuffer ? platform::video::ReadFrontBuffer(device, frame, &why)
                                : platform::video::ReadBackBuffer(device, frame, &why);
  return read && platform::files::WriteWhole(fileName, platform::images::EncodeBmp24(frame), &why);
}

void LogFailure(const std::string& why) {
  try {
    modExtra::WriteLog("Error in SaveScreenshot() : " + why);
  } catch (const modExtra::LogError&) {
  }
}

}  // namespace

void Engine::SaveScreenshot() {
  EngineState& s = *d_;
  std::string folder = modExtra::AppPath;
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  if (!platform::files::IsFolder(folder)) return;

  // The first free number, gaps included; a name already promised to a waiting screenshot is
  // not free.
  auto taken = [&](const std::string& name) {
    return platform::files::Exists(name) ||
           std::find(s.pendingScreenshots.begin(), s.pendingScreenshots.end(), name) != s.pendingScreenshots.end();
  };
  int number = 1;
  while (number < INT32_MAX && taken(ScreenshotName(folder, number))) ++number;
  std::string why = "no graphics device";
  if (s.device && !platform::video::KeepsFrontBuffer(*s.device)) {
    s.pendingScreenshots.push_back(ScreenshotName(folder, number));
    return;
  }
  if (s.device && SaveFrame(*s.device, ScreenshotName(folder, number), true, why)) return;
  LogFailure(why);
}

void SavePendingScreenshots(EngineState& s) {
  std::vector<std::string> names = std::move(s.pendingScreenshots);
  s.pendingScreenshots.clear();
  for (const std::string& name : names) {
    std::string why = "no graphics device";
    if (!s.device || !SaveFrame(*s.device, name, false, why)) LogFailure(why);
  }
}

}  // namespace tovak2d
