// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>
#include <string>

#include "tovak2d/Types.h"

// The game window.
namespace varnel::frmMain {

// Creates the window (hidden until the engine places it) and runs Form_Load. False when there is
// no display to open it on.
bool Load(std::string* error = nullptr);

tovak2d::WindowHandle hWnd();
void SetCaption(const std::string& caption);

void Form_Load();
// The close button: during the loop the window stays and the loop is told to end.
void Form_Unload(int16_t& Cancel);

// Whether the window was closed (its close button, TERM or INT) at any time, also before the
// game loop ran, when Form_Unload has nothing to end yet.
bool CloseAsked();

// Closes the window for good.
void Unload();

// The game's own message to the player, on the game window (a TERM or INT closes it); to standard
// error instead when dialogs are kept quiet (TOVAK2D_QUIET_DIALOGS) or there is no display to show one on.
void ShowMessage(const std::string& text);
// The same before the window exists: always a line on standard error, and a
// message box too when there is a display and dialogs are not kept quiet.
void ShowMessageAlone(const std::string& text);

// The characters the keys struck on the window since the last call type on the player's
// keyboard layout, in the order struck: letters and digits (letters in lower case), blanks, and
// '\b' for Backspace. The letters follow the layout, not the key positions the engine's key
// codes name: a German player's Z key gives 'z'.
std::string TakeStruckKeys();

// Lets the window handle what is pending (a close request among it) without taking any input
// away from the engine, which reads it at the end of the pass.
void DoEvents();

}  // namespace varnel::frmMain
