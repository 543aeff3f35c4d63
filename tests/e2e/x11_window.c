/* Finds a top-level window by its title, and asks a window to close the way a window manager's
 * close button does (a WM_DELETE_WINDOW client message). */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int HasTitle(Display* display, Window window, const char* title) {
  Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
  Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = NULL;
  int found = 0;
  if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count, &after,
                         &data) == Success && data) {
    found = strcmp((const char*)data, title) == 0;
    XFree(data);
  }
  if (!found) {
    char* name = NULL;
    if (XFetchName(display, window, &name) && name) {
      found = strcmp(name, title) == 0;
      XFree(name);
    }
  }
  return found;
}

static Window Find(Display* display, Window parent, const char* title) {
  if (HasTitle(display, parent, title)) return parent;
  Window root, up, *children = NULL;
  unsigned int count = 0;
  Window result = 0;
  if (!XQueryTree(display, parent, &root, &up, &children, &count)) return 0;
  for (unsigned int i = 0; i < count && !result; ++i) result = Find(display, children[i], title);
  if (children) XFree(children);
  return result;
}

int main(int argc, char** argv) {
  if (argc != 3 || (strcmp(argv[1], "find") != 0 && strcmp(argv[1], "close") != 0)) {
    fprintf(stderr, "usage: x11_window find TITLE | close WINDOW-ID\n");
    return 2;
  }
  Display* display = XOpenDisplay(NULL);
  if (!display) {
    fprintf(stderr, "x11_window: cannot open the display\n");
    return 2;
  }
  int status = 0;
  if (strcmp(argv[1], "find") == 0) {
    Window window = Find(display, DefaultRootWindow(display), argv[2]);
    if (window)
      printf("%lu\n", (unsigned long)window);
    else
      status = 1;
  } else {
    Window window = (Window)strtoul(argv[2], NULL, 0);
    XEvent event;
    memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
  }
  XCloseDisplay(display);
  return status;
}
