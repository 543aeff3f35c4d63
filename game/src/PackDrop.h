// SPDX-License-Identifier: Zlib
#pragma once

// Files and folders the player drops on the game window: a pack file is checked, copied into the
// packs folder and selected; a folder of photos, or photos, start the making of a pack from them.
namespace varnel {

// Takes this pass's drops and handles them once a menu screen shows: a drop during a level is
// kept until the level (or the game) is over, so that nothing interrupts the play.
void HandleDrops();

// What became of the last drop, on the Start Game screen until another screen is chosen.
void DrawDropNotice();

}  // namespace varnel
