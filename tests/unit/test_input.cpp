// SPDX-License-Identifier: Zlib
#include <SDL.h>
#include <gtest/gtest.h>

#include "DrawingSupport.h"
#include "SdlEvents.h"
#include "modExtra.h"
#include "platform/Input.h"
#include "tovak2d/Engine.h"

using namespace tovak2d;
using drawing_test::XY;

namespace {

constexpr int kA = 30, kS = 31, kEscape = 1, kEnter = 28, kSpace = 57, kBackspace = 14;

// Events are pushed into SDL's queue as the window system would deliver them, and each Frame()
// runs the engine's frame end, which takes the snapshot.
class InputTest : public drawing_test::DrawingTest {
 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    modExtra::lastMouse = Mouse{};
  }

  void Frame() { engine_.RenderAll(); }
  void Key(SDL_Scancode code, bool down) { testsupport::PushKey(window_, code, down); }
  void Button(uint8_t button, bool down, int x = 0, int y = 0) {
    testsupport::PushButton(window_, button, down, x, y);
  }
  void Wheel(int notches) { testsupport::PushWheel(window_, notches); }
  void Focus(bool gained) { testsupport::PushFocus(window_, gained); }

  Mouse MouseNow() {
    Mouse m;
    EXPECT_FALSE(engine_.GetMouseState(m));
    return m;
  }
};

TEST_F(InputTest, KeyHeldForThreeFramesGivesOnePressAndOneRelease) {
  Key(SDL_SCANCODE_A, true);
  for (int frame = 0; frame < 3; ++frame) {
    Frame();
    EXPECT_TRUE(engine_.GetKeyDown(kA) && !engine_.GetKeyUp(kA)) << frame;
    EXPECT_EQ(engine_.GetKeyPressed(kA), frame == 0) << frame;
  }
  Key(SDL_SCANCODE_A, false);
  Frame();
  EXPECT_TRUE(!engine_.GetKeyDown(kA) && !engine_.GetKeyPressed(kA) && engine_.GetKeyUp(kA));
  Frame();
  EXPECT_FALSE(engine_.GetKeyUp(kA));

  // A tap that begins and ends between two frames is still one press.
  Key(SDL_SCANCODE_SPACE, true);
  Key(SDL_SCANCODE_SPACE, false);
  Frame();
  EXPECT_TRUE(engine_.GetKeyPressed(kSpace) && !engine_.GetKeyUp(kSpace));
  Frame();
  EXPECT_TRUE(!engine_.GetKeyDown(kSpace) && engine_.GetKeyUp(kSpace));
}

TEST_F(InputTest, ClicksSpanFramesButtonsAreKeptApartAndTheWheelCounts) {
  Button(SDL_BUTTON_LEFT, true, 150, 80);
  Frame();
  Mouse m = MouseNow();
  EXPECT_TRUE(m.B1Clicked && m.B1Down && !m.B1Up);
  EXPECT_EQ(XY(m.X, m.Y), XY(150, 80));
  EXPECT_EQ(modExtra::lastMouse.X, 150);
  EXPECT_FALSE(MouseNow().B1Clicked) << "a second call in the same frame";
  Frame();
  m = MouseNow();
  EXPECT_TRUE(!m.B1Clicked && m.B1Down);
  Button(SDL_BUTTON_LEFT, false, 150, 80);
  Frame();
  EXPECT_TRUE(MouseNow().B1Up && !MouseNow().B1Down);
  Frame();
  EXPECT_FALSE(MouseNow().B1Up);

  Button(SDL_BUTTON_RIGHT, true);
  Frame();
  m = MouseNow();
  EXPECT_TRUE(m.B2Clicked && !m.B1Clicked) << "a right click clicks no button of the game";

  // The wheel counts the notches of the frames it is read in and is never reset; a second call
  // adds the frame's turn again.
  Wheel(-2);
  Frame();
  EXPECT_EQ(MouseNow().Wheel, -2);
  Frame();
  EXPECT_EQ(MouseNow().Wheel, -2);
  Wheel(3);
  Frame();
  EXPECT_EQ(MouseNow().Wheel, 1);
  EXPECT_EQ(MouseNow().Wheel, 4);
}

TEST_F(InputTest, LosingTheFocusKeepsTheLastStatesAndPointerHidingIsCounted) {
  Key(SDL_SCANCODE_RETURN, true);
  Button(SDL_BUTTON_LEFT, true);
  Frame();
  EXPECT_TRUE(engine_.GetKeyDown(kEnter) && MouseNow().B1Down);

  Focus(false);
  Key(SDL_SCANCODE_RETURN, false);
  Key(SDL_SCANCODE_ESCAPE, true);
  Wheel(1);
  Frame();
  Frame();
  EXPECT_TRUE(engine_.GetKeyDown(kEnter) && !engine_.GetKeyDown(kEscape));
  EXPECT_TRUE(MouseNow().B1Down);
  EXPECT_EQ(MouseNow().Wheel, 0);

  Focus(true);
  Frame();
  EXPECT_FALSE(engine_.GetKeyDown(kEnter) || MouseNow().B1Down);

  // Hiding and showing the pointer are counted.
  const int start = platform::input::CursorShowCount();
  for (bool hide : {true, true, false}) engine_.SetMouseHide(hide);
  EXPECT_EQ(platform::input::CursorShowCount(), start - 1);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  engine_.SetMouseHide(false);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

// Keys are taken by their place on the keyboard, whatever the layout types there.
TEST_F(InputTest, EveryKeyTheGameUsesHasItsDirectInputCode) {
  using platform::input::KeyCodeOf;
  for (auto [scancode, code] : {std::pair{SDL_SCANCODE_ESCAPE, kEscape},
                                {SDL_SCANCODE_RETURN, kEnter},
                                {SDL_SCANCODE_SPACE, kSpace},
                                {SDL_SCANCODE_BACKSPACE, kBackspace},
                                {SDL_SCANCODE_UP, 0xC8},
                                {SDL_SCANCODE_F24, 0}})
    EXPECT_EQ(KeyCodeOf(scancode), code) << scancode;
  // The letters follow the keyboard's rows, not the alphabet.
  for (auto [letter, code] : {std::pair{'A', 30}, {'M', 50}, {'P', 25}, {'S', kS}, {'Q', 16}, {'Y', 21}})
    EXPECT_EQ(KeyCodeOf(SDL_SCANCODE_A + letter - 'A'), code) << letter;
  EXPECT_EQ(KeyCodeOf(-5), 0);

  // The Z key typing 'y', as a German layout does: the code is Z's.
  testsupport::Push(testsupport::KeyEvent(SDL_GetWindowID(window_), SDL_KEYDOWN, SDL_SCANCODE_Z, SDLK_y));
  Frame();
  EXPECT_TRUE(engine_.GetKeyPressed(44));
  EXPECT_FALSE(engine_.GetKeyPressed(21));
  EXPECT_FALSE(engine_.GetKeyDown(0)) << "keys without a code do not land on code 0";
}

}  // namespace
