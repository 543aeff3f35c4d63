#include <SDL.h>
#include <gtest/gtest.h>

#include "EngineState.h"
#include "FrameTiming.h"
#include "audio_fixtures.h"
#include "modExtra.h"
#include "platform/Input.h"
#include "tovak2d/Engine.h"

using namespace tovak2d;

namespace {

constexpr int kA = 30, kS = 31, kEscape = 1, kEnter = 28, kSpace = 57, kBackspace = 14;

// An engine started on a dummy window; events are pushed into SDL's queue as the window system
// would deliver them, and each Frame() runs the engine's frame end, which takes the snapshot.
class InputTest : public ::testing::Test {
 protected:
  void SetUp() override { StartEngine(false); }

  void StartEngine(bool fullScreen) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    window_ = SDL_CreateWindow("input test", 0, 0, 800, 600, SDL_WINDOW_HIDDEN);
    ASSERT_NE(window_, nullptr) << SDL_GetError();
    ASSERT_TRUE(engine_.Tovak2D_Start(window_, folder_.path().string(), 800, 600, fullScreen));
    modExtra::lastMouse = Mouse{};
  }

  void TearDown() override {
    engine_.Tovak2D_Unload();
    if (window_) SDL_DestroyWindow(window_);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    modExtra::lastMouse = Mouse{};
    modExtra::fullScreen = false;
    modExtra::hWndMain = nullptr;
    modExtra::ResetFrameTiming();
  }

  void Frame() { engine_.RenderAll(); }

  void Key(SDL_Scancode scancode, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.windowID = SDL_GetWindowID(window_);
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = scancode;
    SDL_PushEvent(&e);
  }

  void Button(uint8_t button, bool down, int x = 0, int y = 0) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.windowID = SDL_GetWindowID(window_);
    e.button.button = button;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = x;
    e.button.y = y;
    SDL_PushEvent(&e);
  }

  void Motion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = SDL_GetWindowID(window_);
    e.motion.x = x;
    e.motion.y = y;
    SDL_PushEvent(&e);
  }

  void Wheel(int notches) {
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.windowID = SDL_GetWindowID(window_);
    e.wheel.y = notches;
    e.wheel.preciseY = static_cast<float>(notches);
    e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    SDL_PushEvent(&e);
  }

  void Focus(bool gained) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = SDL_GetWindowID(window_);
    e.window.event = gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
    SDL_PushEvent(&e);
  }

  Mouse MouseNow() {
    Mouse m;
    EXPECT_FALSE(engine_.GetMouseState(m));
    return m;
  }

  audio_fixtures::TempAppFolder folder_;
  SDL_Window* window_ = nullptr;
  Engine engine_;
};

TEST_F(InputTest, KeyHeldForThreeFramesGivesOnePressAndOneRelease) {
  Key(SDL_SCANCODE_A, true);
  for (int frame = 0; frame < 3; ++frame) {
    Frame();
    EXPECT_TRUE(engine_.GetKeyDown(kA)) << frame;
    EXPECT_EQ(engine_.GetKeyPressed(kA), frame == 0) << frame;
    EXPECT_FALSE(engine_.GetKeyUp(kA)) << frame;
  }
  Key(SDL_SCANCODE_A, false);
  Frame();
  EXPECT_FALSE(engine_.GetKeyDown(kA));
  EXPECT_FALSE(engine_.GetKeyPressed(kA));
  EXPECT_TRUE(engine_.GetKeyUp(kA));
  Frame();
  EXPECT_FALSE(engine_.GetKeyUp(kA));

  // A release is reported only when GetKeyUp saw the key down before.
  Key(SDL_SCANCODE_S, true);
  Frame();
  Key(SDL_SCANCODE_S, false);
  Frame();
  EXPECT_FALSE(engine_.GetKeyUp(kS));

  // A tap that begins and ends between two frames is still one press.
  Key(SDL_SCANCODE_SPACE, true);
  Key(SDL_SCANCODE_SPACE, false);
  Frame();
  EXPECT_TRUE(engine_.GetKeyPressed(kSpace));
  EXPECT_FALSE(engine_.GetKeyUp(kSpace));
  Frame();
  EXPECT_FALSE(engine_.GetKeyDown(kSpace));
  EXPECT_TRUE(engine_.GetKeyUp(kSpace));

  for (int32_t outside : {-1, 256, 100000, INT32_MIN}) {
    EXPECT_FALSE(engine_.GetKeyDown(outside));
    EXPECT_FALSE(engine_.GetKeyUp(outside));
    EXPECT_FALSE(engine_.GetKeyPressed(outside));
  }
}

TEST_F(InputTest, ClickSpanningFramesAndButtonsKeptApart) {
  Button(SDL_BUTTON_LEFT, true, 150, 80);
  Frame();
  Mouse m = MouseNow();
  EXPECT_TRUE(m.B1Clicked);
  EXPECT_TRUE(m.B1Down);
  EXPECT_FALSE(m.B1Up);
  EXPECT_EQ(m.X, 150);
  EXPECT_EQ(m.Y, 80);
  EXPECT_EQ(modExtra::lastMouse.X, 150);
  EXPECT_FALSE(MouseNow().B1Clicked) << "a second call in the same frame";

  Frame();
  m = MouseNow();
  EXPECT_FALSE(m.B1Clicked);
  EXPECT_TRUE(m.B1Down);
  Button(SDL_BUTTON_LEFT, false, 150, 80);
  Frame();
  m = MouseNow();
  EXPECT_TRUE(m.B1Up);
  EXPECT_FALSE(m.B1Down);
  Frame();
  EXPECT_FALSE(MouseNow().B1Up);

  Button(SDL_BUTTON_RIGHT, true);
  Frame();
  m = MouseNow();
  EXPECT_TRUE(m.B2Clicked);
  EXPECT_FALSE(m.B3Clicked);
  EXPECT_FALSE(m.B1Clicked);
  Button(SDL_BUTTON_RIGHT, false);
  Button(SDL_BUTTON_MIDDLE, true);
  Frame();
  m = MouseNow();
  EXPECT_TRUE(m.B3Clicked);
  EXPECT_TRUE(m.B2Up);
  EXPECT_FALSE(m.B2Clicked);
}

TEST_F(InputTest, WheelCountsNotchesAndIsNeverReset) {
  Wheel(-2);
  Frame();
  EXPECT_EQ(MouseNow().Wheel, -2);
  Frame();
  EXPECT_EQ(MouseNow().Wheel, -2);
  Wheel(3);
  Frame();
  EXPECT_EQ(MouseNow().Wheel, 1);
  EXPECT_EQ(MouseNow().Wheel, 4) << "the same frame's movement counts again";
}

TEST_F(InputTest, PositionIsInBackBufferPixelsWhateverTheWindowSize) {
  Motion(150, 80);
  Frame();
  EXPECT_EQ(MouseNow().X, 150);

  SDL_SetWindowSize(window_, 1600, 1200);
  Frame();
  Motion(800, 600);
  Frame();
  Mouse m = MouseNow();
  EXPECT_EQ(m.X, 400);
  EXPECT_EQ(m.Y, 300);

  // A wider window shows the back buffer between bars: 100 pixels on either side.
  SDL_SetWindowSize(window_, 1000, 600);
  Frame();
  Motion(150, 80);
  Frame();
  m = MouseNow();
  EXPECT_EQ(m.X, 50);
  EXPECT_EQ(m.Y, 80);

  engine_.SetMousePos(640, 480);
  EXPECT_EQ(modExtra::lastMouse.X, 640);
  EXPECT_EQ(modExtra::lastMouse.Y, 480);
  Frame();
  m = MouseNow();
  EXPECT_EQ(m.X, 640);
  EXPECT_EQ(m.Y, 480);
}

TEST_F(InputTest, LosingTheFocusKeepsTheLastStates) {
  Key(SDL_SCANCODE_RETURN, true);
  Button(SDL_BUTTON_LEFT, true);
  Frame();
  EXPECT_TRUE(engine_.GetKeyDown(kEnter));
  EXPECT_TRUE(MouseNow().B1Down);

  Focus(false);
  Key(SDL_SCANCODE_RETURN, false);
  Key(SDL_SCANCODE_ESCAPE, true);
  Wheel(1);
  Frame();
  Frame();
  EXPECT_TRUE(engine_.GetKeyDown(kEnter));
  EXPECT_FALSE(engine_.GetKeyDown(kEscape));
  Mouse m = MouseNow();
  EXPECT_TRUE(m.B1Down);
  EXPECT_EQ(m.Wheel, 0);

  Focus(true);
  Frame();
  EXPECT_FALSE(engine_.GetKeyDown(kEnter));
  EXPECT_FALSE(MouseNow().B1Down);
}

TEST_F(InputTest, HideAndShowAreCountedAndDebugModeKeepsTheCursor) {
  const int start = platform::input::CursorShowCount();
  engine_.SetMouseHide(true);
  engine_.SetMouseHide(true);
  engine_.SetMouseHide(false);
  EXPECT_EQ(platform::input::CursorShowCount(), start - 1);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  engine_.SetMouseHide(false);
  EXPECT_EQ(platform::input::CursorShowCount(), start);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);

  engine_.SetDebugMode(true);
  engine_.SetMouseHide(true);
  EXPECT_EQ(platform::input::CursorShowCount(), start);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
  engine_.SetDebugMode(false);
}

TEST_F(InputTest, EveryKeyTheGameUsesHasItsDirectInputCode) {
  using platform::input::KeyCodeOf;
  EXPECT_EQ(KeyCodeOf(SDL_SCANCODE_ESCAPE), kEscape);
  EXPECT_EQ(KeyCodeOf(SDL_SCANCODE_RETURN), kEnter);
  EXPECT_EQ(KeyCodeOf(SDL_SCANCODE_SPACE), kSpace);
  EXPECT_EQ(KeyCodeOf(SDL_SCANCODE_BACKSPACE), kBackspace);
  EXPECT_EQ(KeyCodeOf(SDL_SCANCODE_S), kS);
  const int digits[] = {11, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  EXPECT_EQ(KeyCodeOf(SDL_SCANCODE_0), digits[0]);
  for (int d = 1; d <= 9; ++d) EXPECT_EQ(KeyCodeOf(SDL_SCANCODE_1 + d - 1), digits[d]) << d;
  const int letters[26] = {30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
                           49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44};
  for (int i = 0; i < 26; ++i) EXPECT_EQ(KeyCodeOf(SDL_SCANCODE_A + i), letters[i]) << char('A' + i);
  EXPECT_EQ(KeyCodeOf(SDL_SCANCODE_KP_ENTER), 0x9C);
  EXPECT_EQ(KeyCodeOf(SDL_SCANCODE_UP), 0xC8);
  EXPECT_EQ(KeyCodeOf(SDL_SCANCODE_RALT), 0xB8);
  EXPECT_EQ(KeyCodeOf(SDL_SCANCODE_F24), 0);
  EXPECT_EQ(KeyCodeOf(-5), 0);
  EXPECT_EQ(KeyCodeOf(SDL_NUM_SCANCODES), 0);

  Key(SDL_SCANCODE_Z, true);
  Frame();
  EXPECT_TRUE(engine_.GetKeyPressed(44));
  EXPECT_FALSE(engine_.GetKeyDown(0)) << "keys without a code do not land on code 0";
}

TEST(InputFullScreen, PositionIsInBackBufferPixels) {
  audio_fixtures::TempAppFolder folder;
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0);
  SDL_Window* window = SDL_CreateWindow("input test", 0, 0, 800, 600, SDL_WINDOW_HIDDEN);
  {
    Engine engine;
    ASSERT_TRUE(engine.Tovak2D_Start(window, folder.path().string(), 800, 600, true));
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = SDL_GetWindowID(window);
    e.motion.x = width / 2;
    e.motion.y = height / 2;
    SDL_PushEvent(&e);
    EngineState& state = EngineAccess::Of(engine);
    PollInput(state);
    Mouse m;
    engine.GetMouseState(m);
    EXPECT_EQ(m.X, 400) << width << "x" << height;
    EXPECT_EQ(m.Y, 300);
    engine.Tovak2D_Unload();
  }
  SDL_DestroyWindow(window);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  modExtra::lastMouse = Mouse{};
  modExtra::fullScreen = false;
  modExtra::hWndMain = nullptr;
}

TEST(InputSetup, WithoutAWindowTheFailureIsLoggedAndNothingIsPressed) {
  audio_fixtures::TempAppFolder folder;
  Engine engine;
  EngineState& state = EngineAccess::Of(engine);
  Initilize_DxInput(state);
  EXPECT_NE(folder.Log().find("Error in Initilize_DxInput() : "), std::string::npos);
  PollInput(state);
  EXPECT_FALSE(engine.GetKeyDown(kEscape));
  EXPECT_FALSE(engine.GetKeyPressed(kEscape));
}

}  // namespace
