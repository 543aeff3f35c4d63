// SPDX-License-Identifier: Zlib
#include "platform/Dialogs.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <utility>

#include "platform/Text.h"

namespace tovak2d::platform::dialogs {
namespace {

std::vector<Message> recorded;
std::function<void(const Message&)> redirect;
Uint32 ownerId = 0;  // the window the engine's own boxes are shown over

// While a box waits for its button, TERM and INT are noted by SDL's own handler for the program's
// next event pass, which the box holds up: the box is closed then, as its close button would, so
// that the program reads the note and ends in order.
int boxWake[2] = {-1, -1};
struct sigaction heldTerm {}, heldInt {};

void OnSignalDuringBox(int signal) {
  const int saved = errno;
  const char byte = 's';
  [[maybe_unused]] const ssize_t written = write(boxWake[1], &byte, 1);
  const struct sigaction& previous = signal == SIGTERM ? heldTerm : heldInt;
  previous.sa_handler(signal);
  errno = saved;
}

// Whether the handler of SIGNAL is a program's own function that takes the signal number (SDL's
// note): only such a handler is passed the signal on; a signal that ends or is ignored stays so.
bool NotedByHandler(int signal) {
  struct sigaction current {};
  return sigaction(signal, nullptr, &current) == 0 && !(current.sa_flags & SA_SIGINFO) &&
         current.sa_handler != SIG_DFL && current.sa_handler != SIG_IGN;
}

// Sends the window manager's close request to every window of the display that is transient for
// OWNER (the box).
void CloseBoxesOf(const std::string& displayName, Window owner) {
  Display* display = XOpenDisplay(displayName.c_str());
  if (!display) return;  // the display went away: so did the box
  const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
  const Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
  auto visit = [&](auto& self, Window at, int depth) -> void {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, at, &root, &parent, &children, &count)) return;
    for (unsigned int i = 0; i < count; ++i) {
      Window over = 0;
      if (XGetTransientForHint(display, children[i], &over) && over == owner) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = children[i];
        event.xclient.message_type = protocols;
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(deleteWindow);
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, children[i], False, NoEventMask, &event);
      } else if (depth < 2) {
        self(self, children[i], depth + 1);  // a window manager's frame holds the box
      }
    }
    if (children) XFree(children);
  };
  visit(visit, DefaultRootWindow(display), 0);
  XCloseDisplay(display);
}

// Closes the box over OWNER when a TERM or INT comes while it is open (on X11, where the box is
// a window of the display transient for the owner); ends with the box.
class BoxCloser {
 public:
  explicit BoxCloser(SDL_Window* owner) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!owner || !SDL_GetWindowWMInfo(owner, &info) || info.subsystem != SDL_SYSWM_X11 ||
        !NotedByHandler(SIGTERM) || !NotedByHandler(SIGINT) || pipe2(boxWake, O_CLOEXEC) != 0)
      return;
    const char* name = DisplayString(info.info.x11.display);
    closer_ = std::thread([displayName = std::string(name ? name : ""), window = info.info.x11.window] {
      pollfd wake{boxWake[0], POLLIN, 0};
      char byte = 0;
      while (poll(&wake, 1, -1) < 0 && errno == EINTR) {
      }
      if (read(boxWake[0], &byte, 1) == 1 && byte == 's') CloseBoxesOf(displayName, window);
    });
    struct sigaction during {};
    during.sa_handler = OnSignalDuringBox;
    during.sa_flags = SA_RESTART;
    sigemptyset(&during.sa_mask);
    sigaction(SIGTERM, &during, &heldTerm);
    sigaction(SIGINT, &during, &heldInt);
  }
  ~BoxCloser() {
    if (!closer_.joinable()) return;
    sigaction(SIGTERM, &heldTerm, nullptr);
    sigaction(SIGINT, &heldInt, nullptr);
    const char done = 'd';
    [[maybe_unused]] const ssize_t written = write(boxWake[1], &done, 1);
    closer_.join();
    close(boxWake[0]);
    close(boxWake[1]);
    boxWake[0] = boxWake[1] = -1;
  }
  BoxCloser(const BoxCloser&) = delete;
  BoxCloser& operator=(const BoxCloser&) = delete;

 private:
  std::thread closer_;
};

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

void SetOwner(WindowHandle window) {
  ownerId = window ? SDL_GetWindowID(window) : 0;
}

bool ShowBox(const std::string& text, const std::string& title, WindowHandle owner, bool error) {
  if (Quiet()) return false;
  const BoxCloser closer(owner);
  return SDL_ShowSimpleMessageBox(error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION, title.c_str(),
                                  text.c_str(), owner) == 0;
}

void ShowMessage(const std::string& text, const std::string& title) {
  if (redirect) {
    recorded.push_back({title, text});
    redirect(recorded.back());
    return;
  }
  // A window that is gone by now is no longer found by its number.
  if (!ShowBox(Cp1252ToUtf8(text), Cp1252ToUtf8(title), ownerId ? SDL_GetWindowFromID(ownerId) : nullptr, false)) {
    recorded.push_back({title, text});
    std::fprintf(stderr, "[%s] %s\n", Cp1252ToUtf8(title).c_str(), Cp1252ToUtf8(text).c_str());
  }
}

std::vector<Message> RecordedMessages() {
  return recorded;
}
void ClearRecordedMessages() {
  recorded.clear();
}

}  // namespace tovak2d::platform::dialogs
