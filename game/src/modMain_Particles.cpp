#include <cmath>
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

// The cut at (32, 0) passed with 32 x 16 shows at 16 x 16: the scale is taken against the
// cut's right and bottom edges.
void DrawParticle(const Particle& particle, int16_t opacity) {
  switch (particle.Kind) {
    case 0:
      DrawCut(particle, opacity, 32, 0, 0);
      break;
    case 1:
      DrawTinted(particle, opacity, {157, 90, 14}, 32, 32, 16);
      break;
    case 2:
      DrawTinted(particle, opacity, {255, 244, 73}, 32, 32, 16);
      break;
    case 3:
      DrawTinted(particle, opacity, {100, 100, 100}, 32, 32, 16);
      break;
    case 4:
      DrawTinted(particle, opacity, {0, 250, 0}, 0, 0, 0);
      break;
    case 5:
      oEngine->AmbientColor(255, 248, 170);
      DrawCut(particle, opacity, 0, 0, 0);
      oEngine->AmbientColor(157, 90, 14);
      DrawCut(particle, opacity, 32, 32, 16);
      oEngine->AmbientColor(255, 255, 255);
      break;
    case 6:
      DrawTinted(particle, opacity, {250, 0, 0}, 0, 0, 0);
      break;
    case 7:
      DrawCut(particle, opacity, 0, 0, 0);
      break;
    default:
      break;  // an unknown kind moves but shows nothing
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
