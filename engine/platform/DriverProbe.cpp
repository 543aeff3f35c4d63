// SPDX-License-Identifier: Zlib
#include "platform/DriverProbe.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <string>

namespace tovak2d::platform::probe {
namespace {

bool MesaToldToRenderInSoftware() {
  const char* always = SDL_getenv("LIBGL_ALWAYS_SOFTWARE");
  if (always && *always && std::strcmp(always, "0") != 0 && std::strcmp(always, "false") != 0) return true;
  const char* gallium = SDL_getenv("GALLIUM_DRIVER");
  return gallium && (std::strcmp(gallium, "llvmpipe") == 0 || std::strcmp(gallium, "softpipe") == 0 ||
                     std::strcmp(gallium, "swrast") == 0);
}

// A GPU's render node (/dev/dri/renderD128 and on) that this user may open.
bool RenderNodeUsable() {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", error)) {
    if (entry.path().filename().string().rfind("renderD", 0) != 0) continue;
    const int fd = ::open(entry.path().c_str(), O_RDWR | O_CLOEXEC);
    if (fd >= 0) {
      ::close(fd);
      return true;
    }
  }
  return false;
}

// Direct rendering needs the X server's help; a server without it (Xvfb, Xvnc, most remote
// desktops) gets a software GL whatever the machine's GPU.
bool ServerRendersDirectly(Display* display) {
  int opcode = 0, event = 0, error = 0;
  return XQueryExtension(display, "DRI3", &opcode, &event, &error) ||
         XQueryExtension(display, "DRI2", &opcode, &event, &error);
}

}  // namespace

bool SoftwareGlOnly(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info)) return false;
  // A Wayland compositor gives its clients the GPU through the render node alone.
  if (info.subsystem == SDL_SYSWM_WAYLAND) return MesaToldToRenderInSoftware() || !RenderNodeUsable();
  if (info.subsystem != SDL_SYSWM_X11) return false;
  Display* display = info.info.x11.display;
  static std::map<std::string, bool> answers;
  const char* name = DisplayString(display);
  const std::string key = name ? name : "";
  if (auto known = answers.find(key); known != answers.end()) return known->second;
  const bool software =
      MesaToldToRenderInSoftware() || !RenderNodeUsable() || !ServerRendersDirectly(display);
  answers[key] = software;
  return software;
}

}  // namespace tovak2d::platform::probe
