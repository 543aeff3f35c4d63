// SPDX-License-Identifier: Zlib
#include <cmath>
#include <iterator>
#include <limits>

#include "modDeclares.h"
#include "modMain.h"

namespace varnel {
namespace {

struct Tint {
  double red, green, blue;
};

void DrawCut(const Particle& particle, int16_t opacity, float cutX, float scaleWidth, float scaleHeight) {
  oEngine->Draw(texParticles, particle.X, particle.Y, 32, 32, particle.Angle, opacity, cutX, 0, scaleWidth,
                scaleHeight, -1, -1);
}

void DrawTinted(const Particle& particle, int16_t opacity, Tint tint, float cutX, float scaleWidth,
                float scaleHeight) {
  oEngine->AmbientColor(tint.red, tint.green, tint.blue);
  DrawCut(particle, opacity, cutX, scaleWidth, scaleHeight);
  oEngine->AmbientColor(255, 255, 255);
}

// How each kind looks: one or two cuts of the particle sheet, each under its own tint (none for
// the sheet's own colours). The cut at (32, 0) passed with 32 x 16 shows at 16 x 16: the scale is
// taken against the cut's right and bottom edges.
struct Layer {
  bool tinted;
  Tint tint;
  float cutX, scaleWidth, scaleHeight;
};
struct Look {
  Layer layers[2];
  int count;
};
constexpr Layer SmallTinted(Tint tint) {
  return {true, tint, 32, 32, 16};
}
constexpr Layer WholeTinted(Tint tint) {
  return {true, tint, 0, 0, 0};
}
const Look kLooks[] = {
    {{{false, {}, 32, 0, 0}}, 1},       {{SmallTinted({157, 90, 14})}, 1},
    {{SmallTinted({255, 244, 73})}, 1}, {{SmallTinted({100, 100, 100})}, 1},
    {{WholeTinted({0, 250, 0})}, 1},    {{WholeTinted({255, 248, 170}), SmallTinted({157, 90, 14})}, 2},
    {{WholeTinted({250, 0, 0})}, 1},    {{{false, {}, 0, 0, 0}}, 1},
};

void DrawParticle(const Particle& particle, int16_t opacity) {
  // An unknown kind moves but shows nothing.
  if (particle.Kind < 0 || particle.Kind >= static_cast<int16_t>(std::size(kLooks))) return;
  const Look& look = kLooks[particle.Kind];
  for (int layer = 0; layer < look.count; ++layer) {
    const Layer& cut = look.layers[layer];
    if (cut.tinted)
      DrawTinted(particle, opacity, cut.tint, cut.cutX, cut.scaleWidth, cut.scaleHeight);
    else
      DrawCut(particle, opacity, cut.cutX, cut.scaleWidth, cut.scaleHeight);
  }
}

void AddParticle(int16_t Kind, float X, float Y, float VelX, float VelY, float Spin, float Life, bool Fade) {
  if (Y <= 0 || Y >= 632) return;
  for (Particle& slot : Particles) {
    if (slot.Life > 0) continue;
    const double life = std::nearbyint(static_cast<double>(Life));
    slot.Life = static_cast<int16_t>(std::fmax(std::fmin(life, std::numeric_limits<int16_t>::max()), 0));
    slot.Kind = Kind;
    slot.X = X;
    slot.Y = Y;
    slot.VelX = VelX;
    slot.VelY = VelY;
    slot.Spin = Spin;
    slot.Fade = Fade;
    return;  // the slot keeps the angle its last particle ended with
  }
}

}  // namespace

void ParticleFX(bool Add, int16_t Kind, float X, float Y, float VelX, float VelY, float Spin, float Life,
                bool Fade) {
  if (Add) {
    AddParticle(Kind, X, Y, VelX, VelY, Spin, Life, Fade);
    return;
  }
  for (Particle& particle : Particles) {
    if (particle.Life <= 0) continue;
    const int16_t opacity = particle.Fade && particle.Life < 50 ? particle.Life : int16_t{50};
    particle.X += particle.VelX;
    particle.Y += particle.VelY;
    particle.Angle += particle.Spin;
    particle.Life = static_cast<int16_t>(particle.Life - 1);
    DrawParticle(particle, opacity);
  }
}

}  // namespace varnel
