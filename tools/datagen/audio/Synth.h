// SPDX-License-Identifier: Zlib
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace datagen::synth {

constexpr int kRate = 44100;

double MidiHz(double note);

// A mono track that instruments add into. A looping track wraps what runs past its end back to
// its start, so a piece ends exactly where it begins.
struct Track {
  std::vector<float> samples;
  bool loops = false;

  explicit Track(double seconds, bool looping = false);
  size_t Size() const { return samples.size(); }
  void Add(int64_t index, double value);
};

// A second-order filter (the usual biquad forms).
class Biquad {
 public:
  static Biquad LowPass(double hz, double q = 0.707);
  static Biquad HighPass(double hz, double q = 0.707);
  static Biquad BandPass(double hz, double q);
  double Process(double x);

 private:
  // The coefficients of the numerator and of the centre frequency's cosine and alpha, each divided
  // by the first of the denominator.
  Biquad(double b0, double b1, double b2, double c, double alpha);
  double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
  double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// Attack-decay-sustain-release envelope of a note held `hold` seconds; t from the note's start.
double Envelope(double t, double attack, double decay, double sustain, double release, double hold);

// Instruments. Start and length in seconds, amplitude as a linear gain.
// A two-operator FM bell or electric piano: `brightness` sets the modulation depth.
void Bell(Track& track, double start, double hz, double length, double amp, double brightness,
          double ratio = 2);
// A plucked string (Karplus-Strong), with `damping` from 0 (long ring) to 1 (dull).
void Pluck(Track& track, double start, double hz, double length, double amp, double damping, uint64_t seed);
// A warm pad of detuned saw waves through a low-pass filter, slow to swell and to fade.
void Pad(Track& track, double start, double hz, double length, double amp, double cutoff);
// A round bass: a sine with a little of its octave.
void Bass(Track& track, double start, double hz, double length, double amp);
// A burst of filtered noise: clicks, taps, shimmer.
void Noise(Track& track, double start, double length, double amp, Biquad filter, double decay, uint64_t seed);
// A sine sweeping from hz0 to hz1 (exponentially), with vibrato depth in semitones.
void Glide(Track& track, double start, double hz0, double hz1, double length, double amp, double vibrato);
// A bright brass-like tone: saw with a filter that opens on the attack.
void Brass(Track& track, double start, double hz, double length, double amp);

// A stereo hall (parallel combs into all-passes, Freeverb style) fed from a mono send.
void Reverb(const Track& send, double roomSize, double damping, double wet, std::vector<float>& left,
            std::vector<float>& right);

// Scales so the loudest sample reaches `peak`.
void Normalize(std::vector<float>& samples, double peak);
// Fades the first and last `seconds` in and out (no click at either end).
void FadeEdges(std::vector<float>& samples, int channels, double seconds);

}  // namespace datagen::synth
