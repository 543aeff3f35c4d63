#pragma once

namespace varnel {

// Draws and presents one frame of the current screen.
void MainFrame();

void BuildMenu();
void ScanPacks();
void SavePackScores();

}  // namespace varnel
