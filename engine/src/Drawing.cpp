#include "EngineState.h"
#include "tovak2d/Engine.h"

namespace tovak2d {

int32_t Texture::Width() const {
  return 0;
}
int32_t Texture::Height() const {
  return 0;
}

void Engine::CreateTexture(Texture&, const std::string&, int32_t) {}

void Engine::Draw(const Texture&, float, float, float, float, float, int16_t, float, float, float, float,
                  float, float) {}

void Engine::SaveScreenshot() {}

}  // namespace tovak2d
