// SPDX-License-Identifier: Zlib
#include "platform/Desktop.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

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

}  // namespace tovak2d::platform::desktop
