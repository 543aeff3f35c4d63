#pragma once

namespace varnel {

void LoadTextures();
void LoadFonts();
void LoadSounds();
void FreeTextures();
void FreeLevelTextures();

void PollKeys();
void PollMouse();

}  // namespace varnel
