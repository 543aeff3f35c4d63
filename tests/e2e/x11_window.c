// SPDX-License-Identifier: Zlib
/* Asks a window to close the way a window manager's close button does: a WM_DELETE_WINDOW client
 * message. */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char** argv) {
  Display* display = argc == 3 && strcmp(argv[1], "close") == 0 ? XOpenDisplay(NULL) : NULL;
  if (!display) {
    fprintf(stderr, "usage: x11_window close WINDOW-ID, with a display to reach\n");
    return 2;
  }
  XEvent event;
  memset(&event, 0, sizeof event);
  event.xclient.type = ClientMessage;
  event.xclient.window = (Window)strtoul(argv[2], NULL, 0);
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
  XFlush(display);
  XCloseDisplay(display);
  return 0;
}
