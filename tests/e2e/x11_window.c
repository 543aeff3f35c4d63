// SPDX-License-Identifier: Zlib
/* x11_window close WINDOW: asks a window to close the way a window manager's close button does (a
 * WM_DELETE_WINDOW client message).
 * x11_window frames WINDOW N: waits until the window has been drawn into N times (each frame the
 * game presents damages it; the caller sets the time limit); status 3 when the window is gone. */
// x11_window drop WINDOW PATH...: drops the files on the window as a file manager does (the X
// drag-and-drop messages, offering text/uri-list); status 0 once the window says it took the drop,
// 4 when it refused it (the caller sets the time limit).
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <ctype.h>
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

#define ATOM(name) XInternAtom(display, name, False)

// Drag-and-drop message TYPE with its five values (the source window first).
static void SendXdnd(Display* display, Window target, const char* type, const long* values) {
  XEvent event = {.xclient = {.type = ClientMessage, .window = target, .format = 32,
                              .message_type = ATOM(type)}};
  memcpy(event.xclient.data.l, values, sizeof event.xclient.data.l);
  XSendEvent(display, target, False, NoEventMask, &event);
}

// The next message TYPE to the source window; meanwhile the selection is given as URIS.
static long WaitForXdnd(Display* display, const char* type, const char* uris) {
  for (XEvent event;;) {
    XNextEvent(display, &event);
    if (event.type == ClientMessage && event.xclient.message_type == ATOM(type))
      return event.xclient.data.l[1];
    const XSelectionRequestEvent request = event.xselectionrequest;
    if (event.type != SelectionRequest) continue;
    XChangeProperty(display, request.requestor, request.property, request.target, 8, PropModeReplace,
                    (const unsigned char*)uris, (int)strlen(uris));
    XEvent reply = {.xselection = {.type = SelectionNotify, .requestor = request.requestor,
                                   .selection = request.selection, .target = request.target,
                                   .property = request.property, .time = request.time}};
    XSendEvent(display, request.requestor, False, NoEventMask, &reply);
  }
}

// Each path as a file URI, its bytes other than letters, digits and "/-._~" percent-encoded.
static int Drop(Display* display, Window target, char** paths, int count) {
  static char uris[1 << 16];
  size_t used = 0;
  for (int i = 0; i < count; ++i) {
    used += (size_t)snprintf(uris + used, sizeof uris - used, "file://");
    for (const unsigned char* c = (const unsigned char*)paths[i]; *c && used + 8 < sizeof uris; ++c)
      used += (size_t)snprintf(uris + used, 4, isalnum(*c) || strchr("/-._~", *c) ? "%c" : "%%%02X", *c);
    used += (size_t)snprintf(uris + used, sizeof uris - used, "\r\n");
  }
  const long source = (long)XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
  XSetSelectionOwner(display, ATOM("XdndSelection"), (Window)source, CurrentTime);
  int x, y;
  Window child;
  XTranslateCoordinates(display, target, DefaultRootWindow(display), 100, 100, &x, &y, &child);
  SendXdnd(display, target, "XdndEnter", (long[5]){source, 5L << 24, (long)ATOM("text/uri-list")});
  SendXdnd(display, target, "XdndPosition",
           (long[5]){source, 0, (long)x << 16 | y, CurrentTime, (long)ATOM("XdndActionCopy")});
  if (!(WaitForXdnd(display, "XdndStatus", uris) & 1)) return 4;
  SendXdnd(display, target, "XdndDrop", (long[5]){source, 0, CurrentTime});
  return WaitForXdnd(display, "XdndFinished", uris) & 1 ? 0 : 4;
}

int main(int argc, char** argv) {
  const int closing = argc == 3 && strcmp(argv[1], "close") == 0;
  const int frames = argc == 4 && strcmp(argv[1], "frames") == 0;
  const int dropping = argc >= 4 && strcmp(argv[1], "drop") == 0;
  Display* display = closing || frames || dropping ? XOpenDisplay(NULL) : NULL;
  if (!display) {
    fprintf(stderr, "usage: x11_window close WINDOW | frames WINDOW N | drop WINDOW PATH..., on a display\n");
    return 2;
  }
  const Window window = (Window)strtoul(argv[2], NULL, 0);
  if (frames) return WaitForFrames(display, window, strtol(argv[3], NULL, 10));
  if (dropping) return Drop(display, window, argv + 3, argc - 3);
  XEvent event = {.xclient = {.type = ClientMessage, .window = window, .format = 32,
                              .message_type = XInternAtom(display, "WM_PROTOCOLS", False)}};
  event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);  // at CurrentTime (0)
  XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
  XFlush(display);
  XCloseDisplay(display);
  return 0;
}
