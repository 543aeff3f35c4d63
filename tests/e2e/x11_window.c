// SPDX-License-Identifier: Zlib
/* x11_window close WINDOW: asks a window to close the way a window manager's close button does (a
 * WM_DELETE_WINDOW client message).
 * x11_window frames WINDOW N: waits until the window has been drawn into N times (each frame the
 * game presents damages it; the caller sets the time limit); status 3 when the window is gone. */
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int WindowGone(Display* display, XErrorEvent* error) {
  (void)display, (void)error;
  exit(3);
}

/* Each damage report is taken back at once, so that the next drawing reports again. */
static int WaitForFrames(Display* display, Window window, long frames) {
  int eventBase = 0, errorBase = 0;
  if (!XDamageQueryExtension(display, &eventBase, &errorBase)) return 2;
  XSetErrorHandler(WindowGone);
  XSelectInput(display, window, StructureNotifyMask);
  const Damage damage = XDamageCreate(display, window, XDamageReportNonEmpty);
  for (long seen = 0; seen < frames;) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == DestroyNotify) return 3;
    if (event.type == eventBase + XDamageNotify) XDamageSubtract(display, damage, None, None), ++seen;
  }
  return 0;
}

int main(int argc, char** argv) {
  const int closing = argc == 3 && strcmp(argv[1], "close") == 0;
  const int frames = argc == 4 && strcmp(argv[1], "frames") == 0;
  Display* display = closing || frames ? XOpenDisplay(NULL) : NULL;
  if (!display) {
    fprintf(stderr, "usage: x11_window close WINDOW | frames WINDOW N, with a display to reach\n");
    return 2;
  }
  const Window window = (Window)strtoul(argv[2], NULL, 0);
  if (frames) return WaitForFrames(display, window, strtol(argv[3], NULL, 10));
  XEvent event = {.xclient = {.type = ClientMessage, .window = window, .format = 32,
                              .message_type = XInternAtom(display, "WM_PROTOCOLS", False)}};
  event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);  // at CurrentTime (0)
  XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
  XFlush(display);
  XCloseDisplay(display);
  return 0;
}
