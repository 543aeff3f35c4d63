// SPDX-License-Identifier: Zlib
#include "platform/Desktop.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <wayland-client.h>

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tovak2d::platform::desktop {

bool HasWindowManager(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return true;
  Display* display = info.info.x11.display;
  // A window manager that follows the desktop conventions names its check window on the root
  // window, and the check window names itself again.
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
  auto checkWindowOf = [&](Window holder) -> Window {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Window found = 0;
    if (XGetWindowProperty(display, holder, check, 0, 1, False, XA_WINDOW, &type, &format, &count, &after,
                           &data) == Success &&
        data) {
      if (type == XA_WINDOW && format == 32 && count == 1) found = *reinterpret_cast<Window*>(data);
      XFree(data);
    }
    return found;
  };
  const Window checkWindow = checkWindowOf(DefaultRootWindow(display));
  // A window manager that ended leaves its property behind, naming a window that is gone.
  int (*previous)(Display*, XErrorEvent*) = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  const bool alive = checkWindow != 0 && checkWindowOf(checkWindow) == checkWindow;
  XSync(display, False);
  XSetErrorHandler(previous);
  return alive;
}

namespace {

// A scale as a desktop states it, rounded to a quarter; 0 when it says nothing usable.
double Quarter(double scale) {
  if (!std::isfinite(scale) || scale <= 0 || scale > 16) return 0;
  return std::round(scale * 4) / 4;
}

// The Xft.dpi line of the X server's resources (what xrdb loads), as a scale.
double XftScale(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return 0;
  const char* resources = XResourceManagerString(info.info.x11.display);
  if (!resources) return 0;
  for (const char* line = resources; line && *line;) {
    const char* end = std::strchr(line, '\n');
    if (std::strncmp(line, "Xft.dpi:", 8) == 0) {
      char* after = nullptr;
      const double dpi = std::strtod(line + 8, &after);
      if (after != line + 8) return Quarter(dpi / 96);
    }
    line = end ? end + 1 : nullptr;
  }
  return 0;
}

std::atomic<bool> displayLost{false};

// Returning leaves the connection marked broken instead of ending the process.
void OnConnectionBroken(Display*, void*) {
  displayLost = true;
}

Display* watchedDisplay = nullptr;
// A Wayland connection marks itself broken when the compositor goes; SDL then stops reading it.
wl_display* watchedWayland = nullptr;

// Xlib's own report names the server; the game logs the loss itself. SDL keeps a second connection
// to the same server, which breaks as SDL closes it once the game has ended in order: the process
// ends there, as it would a moment later, and not with Xlib's failure status.
int QuietIoError(Display* display) {
  if (displayLost && display != watchedDisplay) {
    std::fflush(nullptr);
    _exit(0);
  }
  return 0;
}

}  // namespace

void WatchDisplay(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info)) return;
  if (info.subsystem == SDL_SYSWM_WAYLAND) watchedWayland = info.info.wl.display;
  if (info.subsystem != SDL_SYSWM_X11) return;
  watchedDisplay = info.info.x11.display;
  XSetIOErrorHandler(QuietIoError);
  XSetIOErrorExitHandler(watchedDisplay, OnConnectionBroken, nullptr);
}

bool DisplayLost() {
  if (!displayLost && watchedWayland && wl_display_get_error(watchedWayland) != 0) displayLost = true;
  return displayLost;
}

void EndSoonAfterLoss() {
  static std::atomic<bool> started{false};
  if (!displayLost || started.exchange(true)) return;
  std::thread([] {
    std::this_thread::sleep_for(std::chrono::seconds(2));
    std::fflush(nullptr);
    _exit(0);
  }).detach();
}

double Scale(SDL_Window* window) {
  // A Wayland compositor scales a window by its output's scale itself.
  if (const char* driver = SDL_GetCurrentVideoDriver(); driver && std::strcmp(driver, "wayland") == 0) return 1;
  double scale = 0;
  if (const char* gdk = std::getenv("GDK_SCALE"); gdk && *gdk) scale = Quarter(std::atof(gdk));
  if (scale == 0) scale = XftScale(window);
  return scale < 1 ? 1 : scale;
}

}  // namespace tovak2d::platform::desktop
