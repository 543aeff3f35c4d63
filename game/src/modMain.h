#pragma once

#include <string>

namespace varnel {

// The whole program: start-up, the main loop, shutdown. Returns the exit status.
int Main();

// The three phases of Main, apart so that tests can drive single passes.
bool Startup(const std::string& appPath);
void RunPass();
void Shutdown();

void AdvanceCounters();
void AdvanceLogoFade();
bool IsMouseOver(float X, float Y, float Width, float Height);

// The program's folder, where its data lies.
std::string ProgramFolder();

}  // namespace varnel
