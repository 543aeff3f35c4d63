// SPDX-License-Identifier: Zlib
#include "platform/Input.h"
#include "EngineState.h"
#include "modExtra.h"
#include "platform/Events.h"
#include "platform/Text.h"
#include "tovak2d/Engine.h"

#include <utility>

namespace tovak2d {
namespace {

using platform::input::kDown;

bool IsDown(const InputState& input, int32_t key) {
  return key >= 0 && key < platform::input::kKeyCount && input.keyState[static_cast<size_t>(key)] == kDown;
}

// One button's edges against the latches kept in lastMouse: clickLatch means the press was
// reported, upLatch that the button was seen down.
void ButtonEdges(bool down, bool& clickLatch, bool& upLatch, bool& retDown, bool& retUp, bool& retClicked) {
  retDown = down;
  retClicked = down && !clickLatch;
  clickLatch = down;
  retUp = !down && upLatch;
  upLatch = down;
}

}  // namespace

void Initilize_DxInput(EngineState& state) {
  std::string error;
  if (!platform::input::Start(state.device.get(), &error)) {
    try {
      modExtra::WriteLog("Error in Initilize_DxInput() : " + error);
    } catch (const modExtra::LogError&) {
    }
    return;
  }
  state.input.keyboardReady = true;
  state.input.mouseReady = true;
}

void ShutdownInput(EngineState& state) {
  if (!state.input.keyboardReady && !state.input.mouseReady) return;
  platform::input::Stop();
  state.input.keyboardReady = false;
  state.input.mouseReady = false;
}

void PollInput(EngineState& state) {
  InputState& input = state.input;
  if (!input.keyboardReady && !input.mouseReady) return;
  // Events still waiting belong to this frame's snapshot.
  platform::events::ProcessMessages();
  if (input.keyboardReady) platform::input::ReadKeyboard(input.keyState);
  if (input.mouseReady && !platform::input::ReadMouse(input.mouseRaw)) {
    // Without the focus the held buttons stay as last seen, but no movement is repeated: a
    // wheel turn must not go on counting while the game is in the background.
    input.mouseRaw.x = input.mouseRaw.y = input.mouseRaw.z = 0;
  }
  platform::input::ReadCursor(input.cursorPos);
  platform::input::ReadDrops(input.dropped);
}

bool Engine::GetKeyDown(int32_t Key) {
  return IsDown(d_->input, Key);
}

bool Engine::GetKeyUp(int32_t Key) {
  if (Key < 0 || Key >= platform::input::kKeyCount) return false;
  KeyLatch& latch = d_->input.keyLatch[static_cast<size_t>(Key)];
  if (IsDown(d_->input, Key)) {
    latch.upLatch = true;
    return false;
  }
  if (!latch.upLatch) return false;
  latch.upLatch = false;
  return true;
}

bool Engine::GetKeyPressed(int32_t Key) {
  if (Key < 0 || Key >= platform::input::kKeyCount) return false;
  KeyLatch& latch = d_->input.keyLatch[static_cast<size_t>(Key)];
  if (!IsDown(d_->input, Key)) {
    latch.pressLatch = false;
    return false;
  }
  if (latch.pressLatch) return false;
  latch.pressLatch = true;
  return true;
}

bool Engine::GetMouseState(Mouse& ret_Mouse) {
  const InputState& input = d_->input;
  Mouse& last = modExtra::lastMouse;

  // The cursor is tracked in back-buffer pixels in both window modes, which is what every
  // caller compares it with.
  last.X = input.cursorPos.x;
  last.Y = input.cursorPos.y;
  last.Wheel = text::RoundHalfEven(static_cast<double>(last.Wheel) + input.mouseRaw.z / 120.0);
  ret_Mouse.X = last.X;
  ret_Mouse.Y = last.Y;
  ret_Mouse.Wheel = last.Wheel;

  const auto& buttons = input.mouseRaw.buttons;
  ButtonEdges(buttons[0] != 0, last.B1Clicked, last.B1Up, ret_Mouse.B1Down, ret_Mouse.B1Up,
              ret_Mouse.B1Clicked);
  ButtonEdges(buttons[1] != 0, last.B2Clicked, last.B2Up, ret_Mouse.B2Down, ret_Mouse.B2Up,
              ret_Mouse.B2Clicked);
  ButtonEdges(buttons[2] != 0, last.B3Clicked, last.B3Up, ret_Mouse.B3Down, ret_Mouse.B3Up,
              ret_Mouse.B3Clicked);
  last.B1Down = ret_Mouse.B1Down;
  last.B2Down = ret_Mouse.B2Down;
  last.B3Down = ret_Mouse.B3Down;
  return false;
}

std::vector<std::string> Engine::TakeDroppedFiles() {
  return std::exchange(d_->input.dropped, {});
}

void Engine::SetMousePos(int32_t posX, int32_t posY) {
  if (d_->device) platform::input::WarpCursor(*d_->device, posX, posY);
  modExtra::lastMouse.X = posX;
  modExtra::lastMouse.Y = posY;
}

void Engine::SetMouseHide(bool cShow) {
  if (DebugMode) return;
  platform::input::ShowCursor(!cShow);
}

}  // namespace tovak2d
