// SPDX-License-Identifier: Zlib
#pragma once

namespace varnel {

// Implemented by modLoad.cpp: the interface pictures, fonts and sounds, and the input of a pass.

// False, after a message to the player, when the picture archive or one of its pictures is
// missing: the game cannot be shown without them.
bool LoadTextures();
void DeleteExtracted();
void LoadFonts();
void LoadSounds();
void FreeTextures();
void FreeLevelTextures();

void PollKeys();
void PollMouse();

}  // namespace varnel
