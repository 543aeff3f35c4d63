// SPDX-License-Identifier: Zlib
#include "Music.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "Rng.h"
#include "Synth.h"
#include "Wma.h"

namespace datagen {
namespace {

using namespace synth;

// 28 bars of four beats at very nearly 72 beats a minute, exactly 2010 blocks of the WMA codec's
// 2048 frames long: a whole number of blocks leaves no silent padding at the end of the loop.
constexpr int kBeats = 112;
constexpr double kFrames = 2010.0 * kWmaBlock;
constexpr double kBeat = kFrames / kRate / kBeats;
constexpr double kBar = 4 * kBeat;

struct Chord {
  int bass;                // MIDI note of the bass
  std::vector<int> tones;  // pitch classes (0 = C)
};

// D major: the chords by name.
const Chord kDmaj7{38, {2, 6, 9, 1}}, kBm7{47, {11, 2, 6, 9}}, kGmaj7{43, {7, 11, 2, 6}},
    kAsus4{45, {9, 2, 4}}, kA{45, {9, 1, 4}}, kFsm7{42, {6, 9, 1, 4}}, kEm7{40, {4, 7, 11, 2}},
    kDoverFs{42, {2, 6, 9}};

// One bar may hold two chords (each for half the bar).
struct Bar {
  Chord first, second;
};

std::vector<Bar> Form() {
  auto whole = [](const Chord& c) { return Bar{c, c}; };
  std::vector<Bar> intro = {whole(kDmaj7), whole(kBm7), whole(kGmaj7), {kAsus4, kA}};
  std::vector<Bar> a = {whole(kDmaj7), whole(kBm7),  whole(kGmaj7), {kAsus4, kA},
                        whole(kDmaj7), whole(kFsm7), whole(kGmaj7), whole(kA)};
  std::vector<Bar> b = {whole(kEm7), whole(kFsm7), whole(kGmaj7), whole(kDoverFs),
                        whole(kEm7), whole(kBm7),  whole(kGmaj7), {kAsus4, kA}};
  std::vector<Bar> form = intro;
  for (const auto* part : {&a, &b, &a}) form.insert(form.end(), part->begin(), part->end());
  return form;
}

bool HasPitchClass(const Chord& c, int note) {
  int pc = ((note % 12) + 12) % 12;
  return std::find(c.tones.begin(), c.tones.end(), pc) != c.tones.end();
}

// The pitches of the D major pentatonic scale (D E F# A B) between lo and hi.
std::vector<int> Pentatonic(int lo, int hi) {
  std::vector<int> out;
  for (int n = lo; n <= hi; ++n) {
    int pc = n % 12;
    if (pc == 2 || pc == 4 || pc == 6 || pc == 9 || pc == 11) out.push_back(n);
  }
  return out;
}

// Voices a chord's tones between lo and hi, each as close as possible to the previous voicing.
std::vector<int> Voice(const Chord& chord, int lo, int hi) {
  std::vector<int> notes;
  for (int pc : chord.tones) {
    int n = lo + ((pc - lo) % 12 + 12) % 12;
    if (n > hi) n -= 12;
    notes.push_back(n);
  }
  std::sort(notes.begin(), notes.end());
  return notes;
}

struct Note {
  double beat;    // from the start of the piece
  double length;  // in beats
  int pitch;
};

// A melody over the form: two-bar phrases, chord tones on strong beats and stepwise pentatonic
// motion between them. The last A section repeats the first with the final phrase lifted.
std::vector<Note> Melody(Rng& rng, const std::vector<Bar>& form) {
  const std::vector<std::vector<double>> rhythms = {{1, 1, 2, 1, 1, 2}, {1.5, 0.5, 1, 1, 3, 1},
                                                    {2, 1, 1, 2, 2},    {0.5, 0.5, 1, 2, 1, 1, 2},
                                                    {1, 1, 1, 1, 4},    {1, 0.5, 0.5, 2, 2, 2}};
  const std::vector<int> scale = Pentatonic(66, 88);
  auto chordAt = [&](double beat) -> const Chord& {
    const Bar& bar = form[static_cast<size_t>(beat / 4)];
    return std::fmod(beat, 4) < 2 ? bar.first : bar.second;
  };
  auto nearestIndex = [&](int pitch) {
    size_t best = 0;
    for (size_t i = 1; i < scale.size(); ++i)
      if (std::abs(scale[i] - pitch) < std::abs(scale[best] - pitch)) best = i;
    return best;
  };

  std::vector<Note> notes;
  int pitch = 74;
  auto phrase = [&](double startBeat, const std::vector<double>& rhythm, bool cadence, int lift) {
    double beat = startBeat;
    for (size_t i = 0; i < rhythm.size(); ++i) {
      const Chord& chord = chordAt(beat);
      bool strong = std::fmod(beat, 2) == 0 || i + 1 == rhythm.size();
      size_t index = nearestIndex(pitch);
      int step = rng.Chance(0.2) ? 0 : (rng.Chance(0.5) ? 1 : -1) * (rng.Chance(0.25) ? 2 : 1);
      if (pitch > 82) step = -std::abs(step);
      if (pitch < 71) step = std::abs(step);
      index = static_cast<size_t>(
          std::clamp(static_cast<int>(index) + step, 0, static_cast<int>(scale.size()) - 1));
      int candidate = scale[index];
      if (strong && !HasPitchClass(chord, candidate)) {
        // Move to the nearest chord tone for a consonant strong beat.
        for (int d = 1; d < 6; ++d) {
          if (HasPitchClass(chord, candidate + d)) {
            candidate += d;
            break;
          }
          if (HasPitchClass(chord, candidate - d)) {
            candidate -= d;
            break;
          }
        }
      }
      if (cadence && i + 1 == rhythm.size()) candidate = (candidate >= 80) ? 86 : 74;
      pitch = candidate;
      notes.push_back({beat, rhythm[i], pitch + lift});
      beat += rhythm[i];
    }
  };

  // Bars 5-12: section A; 13-20: B; 21-28: A again. The intro (bars 1-4) has no melody.
  std::vector<Note> sectionA;
  {
    size_t before = notes.size();
    const auto& r1 = rng.Pick(rhythms);
    phrase(16, r1, false, 0);
    phrase(24, r1, false, 0);
    phrase(32, rng.Pick(rhythms), false, 0);
    phrase(40, rhythms[4], true, 0);
    sectionA.assign(notes.begin() + static_cast<std::ptrdiff_t>(before), notes.end());
  }
  pitch = 79;
  const auto& r2 = rng.Pick(rhythms);
  phrase(48, r2, false, 0);
  phrase(56, r2, false, 0);
  phrase(64, rng.Pick(rhythms), false, 0);
  phrase(72, rhythms[2], false, 0);
  for (const Note& n : sectionA) {
    Note copy = n;
    copy.beat += 64;
    // The closing phrase rises an octave where it can, a small surprise before the loop.
    if (copy.beat >= 104 && copy.pitch + 12 <= 88 && HasPitchClass(chordAt(copy.beat), copy.pitch))
      copy.pitch += 12;
    notes.push_back(copy);
  }
  return notes;
}

}  // namespace

Pcm ComposeMusic(uint64_t seed) {
  Rng rng(seed);
  const std::vector<Bar> form = Form();
  if (form.size() * 4 != kBeats) throw std::logic_error("the form must fill the piece's 112 beats");
  const double length = kFrames / kRate;
  Track melody(length, true), arp(length, true), pad(length, true), bass(length, true), sparkle(length, true);

  for (size_t b = 0; b < form.size(); ++b) {
    const double barStart = static_cast<double>(b) * kBar;
    const bool sameChord = form[b].first.tones == form[b].second.tones;
    for (int half = 0; half < (sameChord ? 1 : 2); ++half) {
      const Chord& chord = half == 0 ? form[b].first : form[b].second;
      const double start = barStart + half * 2 * kBeat, hold = (sameChord ? 4 : 2) * kBeat;
      for (int n : Voice(chord, 52, 66)) Pad(pad, start, MidiHz(n), hold, 0.16, 1400);
      Bass(bass, start, MidiHz(chord.bass), hold * 0.55, 0.30);
      if (sameChord) Bass(bass, start + 2.5 * kBeat, MidiHz(chord.bass), 1.2 * kBeat, 0.22);
    }
    // Eighth-note arpeggio going up and back down the chord, lighter in the A sections.
    const bool sectionA = (b >= 4 && b < 12) || b >= 20;
    for (int e = 0; e < 8; ++e) {
      if (sectionA && e % 2 == 1) continue;
      const Chord& chord = e < 4 ? form[b].first : form[b].second;
      std::vector<int> tones = Voice(chord, 62, 76);
      const int order[8] = {0, 1, 2, 3, 2, 1, 2, 3};
      int pitch = tones[static_cast<size_t>(order[e]) % tones.size()];
      double at = barStart + e * kBeat / 2;
      Pluck(arp, at, MidiHz(pitch), 1.6, e == 0 ? 0.16 : 0.11, 0.35, rng.Next());
    }
    // Now and then a high, faint bell, like light on water.
    if (rng.Chance(0.6)) {
      std::vector<int> high = Pentatonic(86, 98);
      Bell(sparkle, barStart + rng.Int(0, 7) * kBeat / 2, MidiHz(rng.Pick(high)), 1.2, 0.05, 0.5, 3);
    }
  }
  for (const Note& n : Melody(rng, form))
    Bell(melody, n.beat * kBeat, MidiHz(n.pitch), std::max(0.5, n.length * kBeat * 0.95), 0.26, 0.9, 1);

  Track send(length, true);
  for (size_t i = 0; i < send.Size(); ++i)
    send.samples[i] = 0.55f * melody.samples[i] + 0.6f * arp.samples[i] + 0.35f * pad.samples[i] +
                      0.7f * sparkle.samples[i];
  std::vector<float> left(send.Size()), right(send.Size());
  Reverb(send, 0.82, 0.35, 1.0, left, right);

  Pcm pcm;
  pcm.rate = kRate;
  pcm.channels = 2;
  pcm.samples.resize(send.Size() * 2);
  for (size_t i = 0; i < send.Size(); ++i) {
    double centre = melody.samples[i] + bass.samples[i];
    pcm.samples[2 * i] = static_cast<float>(centre * 0.95 + arp.samples[i] * 1.0 + pad.samples[i] * 1.05 +
                                            sparkle.samples[i] * 0.6 + left[i]);
    pcm.samples[2 * i + 1] = static_cast<float>(centre * 1.0 + arp.samples[i] * 0.7 + pad.samples[i] * 0.95 +
                                                sparkle.samples[i] * 1.0 + right[i]);
  }
  Normalize(pcm.samples, 0.8);
  FadeEdges(pcm.samples, 2, 0.004);
  return pcm;
}

}  // namespace datagen
