// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include <vector>

#include "GameHarness.h"
#include "ShellData.h"
#include "modDeclares.h"
#include "modGame.h"
#include "modMain.h"
#include "tovak2d/TextureAccess.h"

namespace {

using tovak2d::DrawRecord;

// Runs the particle step alone and records what it draws.
class ParticleSteps {
 public:
  ParticleSteps() {
    tovak2d::SetDrawObserver([this](const DrawRecord& record) { draws.push_back(record); });
  }
  ~ParticleSteps() { tovak2d::SetDrawObserver(nullptr); }
  void Step() {
    draws.clear();
    varnel::ParticleFX(false, 0, 0, 0, 0, 0, 0, 200, true);
  }
  std::vector<DrawRecord> draws;
};

void ClearPool() {
  for (auto& particle : varnel::Particles) particle = varnel::Particle{};
}

}  // namespace

// One game serves the particle step alone (lives, opacities, the pool, each kind's look) and then
// the streams the menu screens make.
TEST(ShellParticles, LivesOpacitiesAndThePool) {
  GameHarness game(true, shelldata::EnsureInterface);
  ASSERT_TRUE(game.started);
  {
    ClearPool();
    ParticleSteps steps;

    // Life 35 with fade: drawn 35 times at 35, 34, ... 1, moving and turning every pass.
    varnel::ParticleFX(true, 0, 100, 200, 2, 1, 2, 35, true);
    std::vector<int> opacities;
    for (int pass = 0; pass < 40; ++pass) {
      steps.Step();
      for (const auto& d : steps.draws) opacities.push_back(d.AlphaTransp);
    }
    ASSERT_EQ(opacities.size(), 35u);
    for (int i = 0; i < 35; ++i) EXPECT_EQ(opacities[static_cast<size_t>(i)], 35 - i);
    EXPECT_EQ(varnel::Particles[0].X, 170);
    EXPECT_EQ(varnel::Particles[0].Y, 235);
    EXPECT_EQ(varnel::Particles[0].Angle, 70) << "the slot keeps the angle it ended with";

    // A long life is drawn at 50 at most; the new particle starts at the old angle. Without fade a
    // particle stays at 50 to its end.
    varnel::ParticleFX(true, 7, 10, 10, 0, 0, 1, 200, true);
    varnel::ParticleFX(true, 7, 10, 10, 0, 0, 0, 2, false);
    steps.Step();
    EXPECT_EQ(steps.draws.at(0).RotationAng, 71);
    EXPECT_EQ(steps.draws.at(0).AlphaTransp, 50);
    EXPECT_EQ(steps.draws.at(1).AlphaTransp, 50) << "no fade, a life of 2";
    ClearPool();

    // A full pool drops what comes.
    for (int i = 0; i < 200; ++i) varnel::ParticleFX(true, 3, 1, 1, 0, 0, 0, 10, true);
    for (const auto& particle : varnel::Particles) EXPECT_EQ(particle.Life, 10);
    ClearPool();

    // Each kind is drawn from the particle picture; its cut, scale and tint are constants of the
    // code, not checked here.
    for (int16_t kind = 0; kind <= 8; ++kind) varnel::ParticleFX(true, kind, 10, 10, 0, 0, 0, 5, true);
    steps.Step();
    ASSERT_EQ(steps.draws.size(), 9u) << "kind 5 draws two sprites, kind 8 none";
    for (const auto& d : steps.draws)
      EXPECT_EQ(d.texture, tovak2d::TextureAccess::Data(varnel::texParticles).get());
    EXPECT_EQ(varnel::Particles[8].Life, 4) << "an unknown kind still moves and ages";
    ClearPool();
  }

  varnel::SeedRandom(7);
  game.MoveMouse(400, 300);
  ClearPool();
  varnel::intScreen = varnel::kScreenHelp;
  game.Pass();

  // The cursor's particle, then one per button beside it: green long-lived for Help, red for Exit.
  const auto& cursor = varnel::Particles[0];
  EXPECT_EQ(cursor.Kind, 0);
  EXPECT_EQ(cursor.Life, 34);
  EXPECT_NEAR(cursor.X, 406 + 2, 1);
  for (int k = 0; k < 6; ++k) {
    const auto& p = varnel::Particles[static_cast<size_t>(k + 1)];
    EXPECT_EQ(p.Kind, k == 3 ? 4 : k == 5 ? 6 : 7) << k;
    EXPECT_NEAR(p.Y, 10 + 37 * k + 2, 1) << k;
    EXPECT_NEAR(p.Life, k == 3 ? 26.5 : 16.5, 2.5) << k;
  }

  ClearPool();
  varnel::bParticlesOn = false;
  game.Pass();
  for (const auto& particle : varnel::Particles) EXPECT_EQ(particle.Life, 0) << "the option stops them all";
}
