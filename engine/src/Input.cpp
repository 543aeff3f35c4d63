#include "EngineState.h"
#include "tovak2d/Engine.h"

namespace tovak2d {

void Initilize_DxInput(EngineState&) {}
void ShutdownInput(EngineState&) {}
void PollInput(EngineState&) {}

bool Engine::GetKeyDown(int32_t) {
  return false;
}
bool Engine::GetKeyUp(int32_t) {
  return false;
}
bool Engine::GetKeyPressed(int32_t) {
  return false;
}
bool Engine::GetMouseState(Mouse&) {
  return false;
}
void Engine::SetMousePos(int32_t, int32_t) {}
void Engine::SetMouseHide(bool) {}

}  // namespace tovak2d
