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

bool SaveFrame(platform::video::Device& device, const std::string& fileName, std::string& why) {
  platform::images::Image frame;
  if (!platform::video::ReadFrontBuffer(device, frame, &why)) return false;
  return platform::files::WriteWhole(fileName, platform::images::EncodeBmp24(frame), &why);
}

}  // namespace

void Engine::SaveScreenshot() {
  std::string folder = modExtra::AppPath;
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  if (!platform::files::IsFolder(folder)) return;

  // The first free number, gaps included.
  int number = 1;
  while (number < INT32_MAX && platform::files::Exists(ScreenshotName(folder, number))) ++number;
  std::string why = "no graphics device";
  if (d_->device && SaveFrame(*d_->device, ScreenshotName(folder, number), why)) return;
  try {
    modExtra::WriteLog("Error in SaveScreenshot() : " + why);
  } catch (const modExtra::LogError&) {
  }
}

}  // namespace tovak2d
