// SPDX-License-Identifier: Zlib
#include "platform/Dialogs.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/Text.h"

namespace tovak2d::platform::dialogs {
namespace {

std::vector<Message> recorded;
std::function<void(const Message&)> redirect;

}  // namespace

bool Quiet() {
  if (std::getenv("TOVAK2D_QUIET_DIALOGS")) return true;
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  if (driver && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0)) return true;
  return !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY");
}

void RedirectMessages(std::function<void(const Message&)> to) {
  redirect = std::move(to);
}

void ShowMessage(const std::string& text, const std::string& title) {
  if (redirect) {
    recorded.push_back({title, text});
    redirect(recorded.back());
    return;
  }
  if (Quiet()) {
    recorded.push_back({title, text});
    std::fprintf(stderr, "[%s] %s\n", Cp1252ToUtf8(title).c_str(), Cp1252ToUtf8(text).c_str());
    return;
  }
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, Cp1252ToUtf8(title).c_str(),
                           Cp1252ToUtf8(text).c_str(), nullptr);
}

std::vector<Message> RecordedMessages() {
  return recorded;
}
void ClearRecordedMessages() {
  recorded.clear();
}

}  // namespace tovak2d::platform::dialogs
