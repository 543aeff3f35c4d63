#include "EngineState.h"
#include "tovak2d/Engine.h"

namespace tovak2d {

void LoadFontIni(EngineState&) {}
void ReleaseFonts(EngineState&) {}

void Engine::DrawText(const Texture&, const std::string&, float, float, float, float, int16_t, float, float,
                      float) {}

void Engine::CreateFont(const std::string&, const std::string&, int16_t, bool, bool) {}

void Engine::DrawFont(const std::string&, float, float, float, float, const std::string&, int32_t, int32_t) {}

}  // namespace tovak2d
