#pragma once

namespace varnel {

void LoadTextures();
void DeleteExtracted();
void LoadFonts();
void LoadSounds();
void FreeTextures();
void FreeLevelTextures();

void PollKeys();
void PollMouse();

}  // namespace varnel
