#include "EngineState.h"
#include "tovak2d/Engine.h"

namespace tovak2d {

void Initilize_Soundcard(EngineState&) {}
void ShutdownSound(EngineState&) {}

void Engine::CreateSound(const std::string&, const std::string&) {}
void Engine::SoundPlay(const std::string&, bool, int32_t, int32_t, int32_t) {}
void Engine::SoundVolume(const std::string&, int32_t) {}
void Engine::SoundFrequency(const std::string&, int32_t) {}
void Engine::SoundStop(const std::string&, bool) {}

}  // namespace tovak2d
