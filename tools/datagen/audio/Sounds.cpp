// SPDX-License-Identifier: Zlib
#include "Sounds.h"

#include <stdexcept>

#include "Synth.h"

namespace datagen {
namespace {

using namespace synth;

// A soft wooden click: the game plays it for a find and, lowered in pitch, for a miss.
Track Click(uint64_t seed) {
  Track t(0.12);
  Noise(t, 0, 0.05, 0.9, Biquad::BandPass(2400, 1.2), 90, seed);
  Bell(t, 0, 1760, 0.05, 0.35, 0.8, 3);
  Bell(t, 0.002, 880, 0.06, 0.25, 0.3, 2);
  return t;
}

// A key of a soft keyboard; `k` from 1 to 4 shifts its body and tip a little.
Track Key(int k, uint64_t seed) {
  Track t(0.11);
  const double body = 170 + 28 * k, tip = 2600 + 450 * (k % 3);
  Noise(t, 0, 0.03, 0.8, Biquad::BandPass(tip, 1.5), 140, seed);
  Noise(t, 0.004, 0.08, 0.9, Biquad::BandPass(body * 4, 2.5), 55, seed + 1);
  Bell(t, 0.002, body, 0.05, 0.35, 0.4, 1.5);
  return t;
}

// A rising arpeggio on bells with a shimmer on top.
Track LevelCompleted(uint64_t seed) {
  Track t(1.9);
  const double notes[] = {72, 76, 79, 84, 88};
  for (int i = 0; i < 5; ++i) {
    double at = i * 0.11;
    Bell(t, at, MidiHz(notes[i]), i == 4 ? 1.0 : 0.45, i == 4 ? 0.45 : 0.32, 1.1, 2);
    Pluck(t, at, MidiHz(notes[i] - 12), 0.6, 0.18, 0.2, seed + static_cast<uint64_t>(i));
  }
  Noise(t, 0.44, 0.9, 0.03, Biquad::HighPass(7000, 0.7), 4, seed + 9);
  return t;
}

// Quick glittering bells climbing up: something magic happened.
Track Joker(uint64_t seed) {
  Track t(1.3);
  const double scale[] = {0, 2, 4, 7, 9, 12, 14, 16, 19, 21, 24};
  for (int i = 0; i < 11; ++i) {
    double at = i * 0.045;
    Bell(t, at, MidiHz(79 + scale[i]), 0.35, 0.22, 1.6, 3.5);
  }
  Noise(t, 0, 1.1, 0.08, Biquad::BandPass(9000, 0.8), 3, seed);
  Bell(t, 0.5, MidiHz(103), 0.6, 0.18, 0.6, 2);
  return t;
}

// A short brass fanfare ending on a full chord over a low drum.
Track PackCompleted(uint64_t seed) {
  Track t(3.2);
  struct Hit {
    double at, length;
    double notes[3];
  };
  const Hit hits[] = {{0.0, 0.16, {67, 71, 74}}, {0.2, 0.16, {67, 71, 74}},  {0.4, 0.16, {67, 71, 74}},
                      {0.6, 0.5, {72, 76, 79}},  {1.15, 0.22, {71, 74, 79}}, {1.4, 1.2, {72, 76, 84}}};
  for (const Hit& h : hits)
    for (double n : h.notes) Brass(t, h.at, MidiHz(n), h.length, 0.16);
  Bass(t, 0.6, MidiHz(36), 0.5, 0.5);
  Bass(t, 1.4, MidiHz(36), 1.2, 0.55);
  Noise(t, 1.4, 1.2, 0.25, Biquad::LowPass(180, 0.8), 3.5, seed);
  Noise(t, 1.4, 1.5, 0.05, Biquad::HighPass(6000, 0.7), 2.5, seed + 1);
  Bell(t, 1.4, MidiHz(96), 1.2, 0.12, 0.8, 2);
  return t;
}

// Three sagging notes and a long slide down: time ran out.
Track GameOver(uint64_t) {
  Track t(2.4);
  Glide(t, 0.0, MidiHz(67), MidiHz(66), 0.32, 0.35, 0.05);
  Glide(t, 0.36, MidiHz(66), MidiHz(65), 0.32, 0.35, 0.05);
  Glide(t, 0.72, MidiHz(65), MidiHz(64), 0.32, 0.35, 0.05);
  Glide(t, 1.08, MidiHz(64), MidiHz(52), 1.2, 0.38, 0.25);
  Bass(t, 1.08, MidiHz(40), 1.0, 0.25);
  return t;
}

Pcm ToPcm(const Track& track, double peak) {
  Pcm pcm;
  pcm.rate = kRate;
  pcm.channels = 1;
  pcm.samples = track.samples;
  Normalize(pcm.samples, peak);
  FadeEdges(pcm.samples, 1, 0.003);
  return pcm;
}

}  // namespace

std::vector<std::string> SoundEffectNames() {
  return {"click.wav",          "1key.wav",  "2key.wav",          "3key.wav",    "4key.wav",
          "levelcompleted.wav", "joker.wav", "packcompleted.wav", "gameover.wav"};
}

SoundEffect MakeSoundEffect(const std::string& name, uint64_t seed) {
  Track track(0);
  double peak = 0.8;
  if (name == "click.wav")
    track = Click(seed);
  else if (name.size() == 8 && name.substr(1) == "key.wav")
    track = Key(name[0] - '0', seed), peak = 0.6;
  else if (name == "levelcompleted.wav")
    track = LevelCompleted(seed);
  else if (name == "joker.wav")
    track = Joker(seed);
  else if (name == "packcompleted.wav")
    track = PackCompleted(seed);
  else if (name == "gameover.wav")
    track = GameOver(seed);
  else
    throw std::invalid_argument("no sound effect named " + name);
  return {name, ToPcm(track, peak)};
}

}  // namespace datagen
