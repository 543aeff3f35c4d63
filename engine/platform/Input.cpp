// SPDX-License-Identifier: Zlib
#include "platform/Input.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Events.h"
#include "platform/Video.h"

namespace tovak2d::platform::input {
namespace {

// SDL scancodes (USB usage codes) and the set-1 scan codes DirectInput names its keys by.
constexpr std::pair<SDL_Scancode, uint8_t> kKeyTable[] = {
    {SDL_SCANCODE_ESCAPE, 0x01},
    {SDL_SCANCODE_1, 0x02},
    {SDL_SCANCODE_2, 0x03},
    {SDL_SCANCODE_3, 0x04},
    {SDL_SCANCODE_4, 0x05},
    {SDL_SCANCODE_5, 0x06},
    {SDL_SCANCODE_6, 0x07},
    {SDL_SCANCODE_7, 0x08},
    {SDL_SCANCODE_8, 0x09},
    {SDL_SCANCODE_9, 0x0A},
    {SDL_SCANCODE_0, 0x0B},
    {SDL_SCANCODE_MINUS, 0x0C},
    {SDL_SCANCODE_EQUALS, 0x0D},
    {SDL_SCANCODE_BACKSPACE, 0x0E},
    {SDL_SCANCODE_TAB, 0x0F},
    {SDL_SCANCODE_Q, 0x10},
    {SDL_SCANCODE_W, 0x11},
    {SDL_SCANCODE_E, 0x12},
    {SDL_SCANCODE_R, 0x13},
    {SDL_SCANCODE_T, 0x14},
    {SDL_SCANCODE_Y, 0x15},
    {SDL_SCANCODE_U, 0x16},
    {SDL_SCANCODE_I, 0x17},
    {SDL_SCANCODE_O, 0x18},
    {SDL_SCANCODE_P, 0x19},
    {SDL_SCANCODE_LEFTBRACKET, 0x1A},
    {SDL_SCANCODE_RIGHTBRACKET, 0x1B},
    {SDL_SCANCODE_RETURN, 0x1C},
    {SDL_SCANCODE_LCTRL, 0x1D},
    {SDL_SCANCODE_A, 0x1E},
    {SDL_SCANCODE_S, 0x1F},
    {SDL_SCANCODE_D, 0x20},
    {SDL_SCANCODE_F, 0x21},
    {SDL_SCANCODE_G, 0x22},
    {SDL_SCANCODE_H, 0x23},
    {SDL_SCANCODE_J, 0x24},
    {SDL_SCANCODE_K, 0x25},
    {SDL_SCANCODE_L, 0x26},
    {SDL_SCANCODE_SEMICOLON, 0x27},
    {SDL_SCANCODE_APOSTROPHE, 0x28},
    {SDL_SCANCODE_GRAVE, 0x29},
    {SDL_SCANCODE_LSHIFT, 0x2A},
    {SDL_SCANCODE_BACKSLASH, 0x2B},
    {SDL_SCANCODE_NONUSHASH, 0x2B},  // the ISO key beside Enter sends the backslash code
    {SDL_SCANCODE_Z, 0x2C},
    {SDL_SCANCODE_X, 0x2D},
    {SDL_SCANCODE_C, 0x2E},
    {SDL_SCANCODE_V, 0x2F},
    {SDL_SCANCODE_B, 0x30},
    {SDL_SCANCODE_N, 0x31},
    {SDL_SCANCODE_M, 0x32},
    {SDL_SCANCODE_COMMA, 0x33},
    {SDL_SCANCODE_PERIOD, 0x34},
    {SDL_SCANCODE_SLASH, 0x35},
    {SDL_SCANCODE_RSHIFT, 0x36},
    {SDL_SCANCODE_KP_MULTIPLY, 0x37},
    {SDL_SCANCODE_LALT, 0x38},
    {SDL_SCANCODE_SPACE, 0x39},
    {SDL_SCANCODE_CAPSLOCK, 0x3A},
    {SDL_SCANCODE_F1, 0x3B},
    {SDL_SCANCODE_F2, 0x3C},
    {SDL_SCANCODE_F3, 0x3D},
    {SDL_SCANCODE_F4, 0x3E},
    {SDL_SCANCODE_F5, 0x3F},
    {SDL_SCANCODE_F6, 0x40},
    {SDL_SCANCODE_F7, 0x41},
    {SDL_SCANCODE_F8, 0x42},
    {SDL_SCANCODE_F9, 0x43},
    {SDL_SCANCODE_F10, 0x44},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x45},
    {SDL_SCANCODE_SCROLLLOCK, 0x46},
    {SDL_SCANCODE_KP_7, 0x47},
    {SDL_SCANCODE_KP_8, 0x48},
    {SDL_SCANCODE_KP_9, 0x49},
    {SDL_SCANCODE_KP_MINUS, 0x4A},
    {SDL_SCANCODE_KP_4, 0x4B},
    {SDL_SCANCODE_KP_5, 0x4C},
    {SDL_SCANCODE_KP_6, 0x4D},
    {SDL_SCANCODE_KP_PLUS, 0x4E},
    {SDL_SCANCODE_KP_1, 0x4F},
    {SDL_SCANCODE_KP_2, 0x50},
    {SDL_SCANCODE_KP_3, 0x51},
    {SDL_SCANCODE_KP_0, 0x52},
    {SDL_SCANCODE_KP_PERIOD, 0x53},
    {SDL_SCANCODE_NONUSBACKSLASH, 0x56},
    {SDL_SCANCODE_F11, 0x57},
    {SDL_SCANCODE_F12, 0x58},
    {SDL_SCANCODE_F13, 0x64},
    {SDL_SCANCODE_F14, 0x65},
    {SDL_SCANCODE_F15, 0x66},
    {SDL_SCANCODE_INTERNATIONAL2, 0x70},  // kana
    {SDL_SCANCODE_INTERNATIONAL1,
     0x73},  // the key left of the right Shift on Japanese and Brazilian keyboards
    {SDL_SCANCODE_INTERNATIONAL4, 0x79},  // convert
    {SDL_SCANCODE_INTERNATIONAL5, 0x7B},  // no convert
    {SDL_SCANCODE_INTERNATIONAL3, 0x7D},  // yen
    {SDL_SCANCODE_KP_EQUALS, 0x8D},
    {SDL_SCANCODE_AUDIOPREV, 0x90},
    {SDL_SCANCODE_AUDIONEXT, 0x99},
    {SDL_SCANCODE_KP_ENTER, 0x9C},
    {SDL_SCANCODE_RCTRL, 0x9D},
    {SDL_SCANCODE_MUTE, 0xA0},
    {SDL_SCANCODE_AUDIOMUTE, 0xA0},
    {SDL_SCANCODE_CALCULATOR, 0xA1},
    {SDL_SCANCODE_AUDIOPLAY, 0xA2},
    {SDL_SCANCODE_AUDIOSTOP, 0xA4},
    {SDL_SCANCODE_VOLUMEDOWN, 0xAE},
    {SDL_SCANCODE_VOLUMEUP, 0xB0},
    {SDL_SCANCODE_AC_HOME, 0xB2},
    {SDL_SCANCODE_WWW, 0xB2},
    {SDL_SCANCODE_KP_COMMA, 0xB3},
    {SDL_SCANCODE_KP_DIVIDE, 0xB5},
    {SDL_SCANCODE_PRINTSCREEN, 0xB7},
    {SDL_SCANCODE_RALT, 0xB8},
    {SDL_SCANCODE_PAUSE, 0xC5},
    {SDL_SCANCODE_HOME, 0xC7},
    {SDL_SCANCODE_UP, 0xC8},
    {SDL_SCANCODE_PAGEUP, 0xC9},
    {SDL_SCANCODE_LEFT, 0xCB},
    {SDL_SCANCODE_RIGHT, 0xCD},
    {SDL_SCANCODE_END, 0xCF},
    {SDL_SCANCODE_DOWN, 0xD0},
    {SDL_SCANCODE_PAGEDOWN, 0xD1},
    {SDL_SCANCODE_INSERT, 0xD2},
    {SDL_SCANCODE_DELETE, 0xD3},
    {SDL_SCANCODE_LGUI, 0xDB},
    {SDL_SCANCODE_RGUI, 0xDC},
    {SDL_SCANCODE_APPLICATION, 0xDD},
    {SDL_SCANCODE_POWER, 0xDE},
    {SDL_SCANCODE_SLEEP, 0xDF},
    {SDL_SCANCODE_AC_SEARCH, 0xE5},
    {SDL_SCANCODE_AC_BOOKMARKS, 0xE6},
    {SDL_SCANCODE_AC_REFRESH, 0xE7},
    {SDL_SCANCODE_AC_STOP, 0xE8},
    {SDL_SCANCODE_STOP, 0xE8},
    {SDL_SCANCODE_AC_FORWARD, 0xE9},
    {SDL_SCANCODE_AC_BACK, 0xEA},
    {SDL_SCANCODE_COMPUTER, 0xEB},
    {SDL_SCANCODE_MAIL, 0xEC},
    {SDL_SCANCODE_MEDIASELECT, 0xED},
};

constexpr std::array<uint8_t, SDL_NUM_SCANCODES> MakeKeyLookup() {
  std::array<uint8_t, SDL_NUM_SCANCODES> lookup{};
  for (const auto& [scancode, code] : kKeyTable) lookup[scancode] = code;
  return lookup;
}

constexpr auto kKeyLookup = MakeKeyLookup();

// What the window's events have said about the keyboard and the mouse. Lives on the game's
// thread: the message pump and the reads both run there.
struct Tracker {
  bool started = false;
  uint32_t windowId = 0;
  bool focused = true;  // the window is taken to have the focus until it is told otherwise
  std::array<bool, kKeyCount> keyDown{};
  std::array<bool, kKeyCount> keyWentDown{};  // since the last read
  std::array<bool, 4> buttonDown{};
  std::array<bool, 4> buttonWentDown{};
  int32_t moveX = 0, moveY = 0, wheel = 0;
  CursorPoint cursor;
  // Paths of the drop under way (between its begin and its end), and of the drops completed
  // since the last read.
  std::vector<std::string> dropping, dropped;
};

// More paths than this in one read are left out: no player drops that many at once, and a
// runaway source must not fill the memory.
constexpr size_t kMaxDropped = 4096;

Tracker tracker;
int showCount = 0;

// Keys reach the window with the keyboard focus; SDL leaves the window out when it has not yet
// seen the focus arrive, as can happen on a desktop without a window manager.
bool KeyForUs(uint32_t windowId) {
  return windowId == tracker.windowId || windowId == 0;
}

// Mouse events without a window are in no window's coordinates (for instance a warp while SDL
// knows of no window under the cursor), so only the game window's own count.
bool MouseForUs(uint32_t windowId) {
  return windowId == tracker.windowId;
}

void ForgetHeldInput() {
  tracker.keyDown.fill(false);
  tracker.keyWentDown.fill(false);
  tracker.buttonDown.fill(false);
  tracker.buttonWentDown.fill(false);
  tracker.moveX = tracker.moveY = tracker.wheel = 0;
}

int ButtonIndex(uint8_t sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT:
      return 0;
    case SDL_BUTTON_RIGHT:
      return 1;
    case SDL_BUTTON_MIDDLE:
      return 2;
    case SDL_BUTTON_X1:
      return 3;
    default:
      return -1;
  }
}

void OnWindowEvent(const SDL_WindowEvent& e) {
  if (e.windowID != tracker.windowId) return;
  if (e.event == SDL_WINDOWEVENT_FOCUS_LOST) {
    tracker.focused = false;
  } else if (e.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
    // Whatever happened meanwhile was not ours to see; keys still held are reported again by
    // the keyboard right after the focus returns.
    tracker.focused = true;
    ForgetHeldInput();
  }
}

void OnKey(const SDL_KeyboardEvent& e) {
  if (!tracker.focused || !KeyForUs(e.windowID)) return;
  const int scancode = e.keysym.scancode;
  if (scancode < 0 || scancode >= SDL_NUM_SCANCODES) return;
  const uint8_t code = kKeyLookup[static_cast<size_t>(scancode)];
  if (code == 0) return;
  const bool down = e.type == SDL_KEYDOWN;
  tracker.keyDown[code] = down;
  if (down) tracker.keyWentDown[code] = true;
}

// Mouse coordinates of the renderer's window arrive already scaled to the back buffer: SDL maps
// them through the renderer's logical size, so they are taken as they are.
void OnMouseMotion(const SDL_MouseMotionEvent& e) {
  if (!MouseForUs(e.windowID)) return;
  tracker.cursor = {e.x, e.y};
  if (!tracker.focused) return;
  tracker.moveX += e.xrel;
  tracker.moveY += e.yrel;
}

void OnMouseButton(const SDL_MouseButtonEvent& e) {
  if (!MouseForUs(e.windowID)) return;
  tracker.cursor = {e.x, e.y};
  const int index = ButtonIndex(e.button);
  if (!tracker.focused || index < 0) return;
  const bool down = e.type == SDL_MOUSEBUTTONDOWN;
  tracker.buttonDown[static_cast<size_t>(index)] = down;
  if (down) tracker.buttonWentDown[static_cast<size_t>(index)] = true;
}

void OnWheel(const SDL_MouseWheelEvent& e) {
  if (!tracker.focused || !MouseForUs(e.windowID)) return;
  // Fine-grained wheels and touchpads report parts of a notch; a notch is 120 as on Windows.
  double notches = e.preciseY != 0.0f ? static_cast<double>(e.preciseY) : static_cast<double>(e.y);
  if (e.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
  tracker.wheel += static_cast<int32_t>(std::lround(notches * 120.0));
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// SDL hands over local paths; a source it did not translate may still send a file URI
// ("file:///home/me/a%20b.vnl" or "file://localhost/..."), whose path is percent-encoded.
std::string DropPath(std::string_view text) {
  constexpr std::string_view kScheme = "file://";
  if (text.substr(0, kScheme.size()) != kScheme) return std::string(text);
  text.remove_prefix(kScheme.size());
  text.remove_prefix(std::min(text.size(), text.find('/')));  // the host, usually empty
  std::string path;
  for (size_t i = 0; i < text.size(); ++i) {
    const int high = text[i] == '%' && i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
    const int low = high >= 0 ? HexValue(text[i + 2]) : -1;
    if (low >= 0) {
      path += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      path += text[i];
    }
  }
  return path;
}

// A drop comes as a begin, one event per file or folder, and a complete; sources that send no
// begin deliver each file on its own.
void OnDrop(const SDL_DropEvent& e) {
  if (e.windowID != tracker.windowId && e.windowID != 0) return;
  if (e.type == SDL_DROPBEGIN) {
    tracker.dropping.clear();
  } else if (e.type == SDL_DROPFILE && e.file && tracker.dropping.size() < kMaxDropped) {
    tracker.dropping.push_back(DropPath(e.file));
  } else if (e.type == SDL_DROPCOMPLETE) {
    for (auto& path : tracker.dropping)
      if (tracker.dropped.size() < kMaxDropped) tracker.dropped.push_back(std::move(path));
    tracker.dropping.clear();
  }
}

void OnEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_DROPBEGIN:
    case SDL_DROPFILE:
    case SDL_DROPCOMPLETE:
      OnDrop(event.drop);
      break;
    case SDL_WINDOWEVENT:
      OnWindowEvent(event.window);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      OnKey(event.key);
      break;
    case SDL_MOUSEMOTION:
      OnMouseMotion(event.motion);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      OnMouseButton(event.button);
      break;
    case SDL_MOUSEWHEEL:
      OnWheel(event.wheel);
      break;
    default:
      break;
  }
}

}  // namespace

bool Start(const video::Device* device, std::string* error) {
  if (!device || !device->window) {
    if (error) *error = "no game window to take keyboard and mouse input from";
    return false;
  }
  tracker = Tracker{};
  tracker.started = true;
  tracker.windowId = SDL_GetWindowID(device->window);
  // Files and folders dropped on the window are taken; dragged text is not.
  SDL_EventState(SDL_DROPFILE, SDL_ENABLE);
  SDL_EventState(SDL_DROPTEXT, SDL_DISABLE);
  SDL_EventState(SDL_DROPBEGIN, SDL_ENABLE);
  SDL_EventState(SDL_DROPCOMPLETE, SDL_ENABLE);
  events::SetInputSink(&OnEvent);
  return true;
}

void Stop() {
  if (!tracker.started) return;
  events::SetInputSink(nullptr);
  tracker = Tracker{};
}

bool ReadKeyboard(KeyBytes& keys) {
  if (!tracker.started || !tracker.focused) return false;
  for (size_t i = 0; i < keys.size(); ++i) keys[i] = tracker.keyDown[i] || tracker.keyWentDown[i] ? kDown : 0;
  tracker.keyWentDown.fill(false);
  return true;
}

bool ReadMouse(MouseData& mouse) {
  if (!tracker.started || !tracker.focused) return false;
  mouse.x = tracker.moveX;
  mouse.y = tracker.moveY;
  mouse.z = tracker.wheel;
  tracker.moveX = tracker.moveY = tracker.wheel = 0;
  for (size_t i = 0; i < mouse.buttons.size(); ++i)
    mouse.buttons[i] = tracker.buttonDown[i] || tracker.buttonWentDown[i] ? kDown : 0;
  tracker.buttonWentDown.fill(false);
  return true;
}

void ReadDrops(std::vector<std::string>& paths) {
  for (auto& path : tracker.dropped)
    if (paths.size() < kMaxDropped) paths.push_back(std::move(path));
  tracker.dropped.clear();
}

bool ReadCursor(CursorPoint& point) {
  if (!tracker.started) return false;
  point = tracker.cursor;
  return true;
}

void WarpCursor(const video::Device& device, int32_t x, int32_t y) {
  if (!device.window || (!device.renderer && !device.frame)) return;
  int windowX = 0, windowY = 0;
  video::FrameToWindow(device, x, y, windowX, windowY);
  SDL_WarpMouseInWindow(device.window, windowX, windowY);
  // The cursor is where it was put from now on, even before the window reports the move.
  tracker.cursor = {x, y};
}

int ShowCursor(bool show) {
  showCount += show ? 1 : -1;
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(showCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
  return showCount;
}

int CursorShowCount() {
  return showCount;
}

uint8_t KeyCodeOf(int scancode) {
  if (scancode < 0 || scancode >= SDL_NUM_SCANCODES) return 0;
  return kKeyLookup[static_cast<size_t>(scancode)];
}

}  // namespace tovak2d::platform::input
