// SPDX-License-Identifier: Zlib
#include "Synth.h"

#include <algorithm>
#include <cmath>

#include "Math.h"
#include "Rng.h"

namespace datagen::synth {
namespace {

int64_t ToSample(double seconds) {
  return static_cast<int64_t>(std::llround(seconds * kRate));
}

// Band-limited saw: the naive ramp with its jump smoothed (polyBLEP), free of harsh aliasing.
double SawBlep(double phase, double increment) {
  double value = 2 * phase - 1;
  if (phase < increment) {
    double t = phase / increment;
    value -= t + t - t * t - 1;
  } else if (phase > 1 - increment) {
    double t = (phase - 1) / increment;
    value -= t * t + t + t + 1;
  }
  return value;
}

}  // namespace

double MidiHz(double note) {
  return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

Track::Track(double seconds, bool looping)
    : samples(static_cast<size_t>(ToSample(seconds)), 0.0f), loops(looping) {}

void Track::Add(int64_t index, double value) {
  const int64_t n = static_cast<int64_t>(samples.size());
  if (loops)
    index = ((index % n) + n) % n;
  else if (index < 0 || index >= n)
    return;
  samples[static_cast<size_t>(index)] += static_cast<float>(value);
}

namespace {

// The cosine and alpha of a filter's centre frequency and q, shared by every filter below.
struct Angle {
  double c, alpha;
};
Angle AngleOf(double hz, double q) {
  const double w = kTwoPi * hz / kRate;
  return {std::cos(w), std::sin(w) / (2 * q)};
}

}  // namespace

Biquad::Biquad(double b0, double b1, double b2, double c, double alpha) {
  const double a0 = 1 + alpha;
  b0_ = b0 / a0;
  b1_ = b1 / a0;
  b2_ = b2 / a0;
  a1_ = -2 * c / a0;
  a2_ = (1 - alpha) / a0;
}

Biquad Biquad::LowPass(double hz, double q) {
  const auto [c, alpha] = AngleOf(hz, q);
  return Biquad((1 - c) / 2, 1 - c, (1 - c) / 2, c, alpha);
}

Biquad Biquad::HighPass(double hz, double q) {
  const auto [c, alpha] = AngleOf(hz, q);
  return Biquad((1 + c) / 2, -(1 + c), (1 + c) / 2, c, alpha);
}

Biquad Biquad::BandPass(double hz, double q) {
  const auto [c, alpha] = AngleOf(hz, q);
  return Biquad(alpha, 0, -alpha, c, alpha);
}

double Biquad::Process(double x) {
  double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
  x2_ = x1_;
  x1_ = x;
  y2_ = y1_;
  y1_ = y;
  return y;
}

double Envelope(double t, double attack, double decay, double sustain, double release, double hold) {
  if (t < 0) return 0;
  double level;
  if (t < attack)
    level = t / attack;
  else if (t < attack + decay)
    level = 1 - (1 - sustain) * (t - attack) / decay;
  else
    level = sustain;
  if (t > hold) {
    // Release from the level reached when the note was let go.
    double atRelease = Envelope(hold, attack, decay, sustain, release, hold + 1);
    double r = (t - hold) / release;
    return r >= 1 ? 0 : atRelease * (1 - r) * (1 - r);
  }
  return level;
}

void Bell(Track& track, double start, double hz, double length, double amp, double brightness, double ratio) {
  const int64_t first = ToSample(start), count = ToSample(length + 1.5);
  for (int64_t i = 0; i < count; ++i) {
    double t = static_cast<double>(i) / kRate;
    double env = std::exp(-t * 2.2 / length) * std::min(1.0, t * 400);
    if (t > length) env *= std::max(0.0, 1 - (t - length) / 1.5);
    double index = brightness * std::exp(-t * 3.5);
    double mod = std::sin(kTwoPi * hz * ratio * t) * index;
    double v = std::sin(kTwoPi * hz * t + mod) + 0.15 * std::sin(kTwoPi * hz * 4.01 * t) * std::exp(-t * 6);
    track.Add(first + i, v * env * amp);
  }
}

void Pluck(Track& track, double start, double hz, double length, double amp, double damping, uint64_t seed) {
  Rng rng(seed);
  const size_t period = std::max<size_t>(2, static_cast<size_t>(std::lround(kRate / hz)));
  std::vector<double> line(period);
  for (double& v : line) v = rng.Range(-1, 1);
  // Soften the initial noise so the string sounds like nylon rather than wire.
  for (int pass = 0; pass < 2; ++pass)
    for (size_t i = 1; i < period; ++i) line[i] = 0.5 * (line[i] + line[i - 1]);
  const int64_t first = ToSample(start), count = ToSample(length);
  const double keep = 0.5 - 0.03 * damping;
  size_t pos = 0;
  for (int64_t i = 0; i < count; ++i) {
    size_t next = (pos + 1) % period;
    double v = line[pos];
    line[pos] = keep * (line[pos] + line[next]) * 0.999;
    pos = next;
    double tail = std::min(1.0, static_cast<double>(count - i) / (0.05 * kRate));
    track.Add(first + i, v * amp * tail);
  }
}

void Pad(Track& track, double start, double hz, double length, double amp, double cutoff) {
  const double detune[3] = {-0.11, 0.0, 0.13};  // semitones
  double phase[3] = {0.0, 0.33, 0.71};
  Biquad filter = Biquad::LowPass(cutoff, 0.6), filter2 = Biquad::LowPass(cutoff * 1.3, 0.6);
  const double release = 2.0;
  const int64_t first = ToSample(start), count = ToSample(length + release);
  for (int64_t i = 0; i < count; ++i) {
    double t = static_cast<double>(i) / kRate;
    double v = 0;
    for (int k = 0; k < 3; ++k) {
      double inc = hz * std::pow(2.0, detune[k] / 12) / kRate;
      v += SawBlep(phase[k], inc);
      phase[k] += inc;
      if (phase[k] >= 1) phase[k] -= 1;
    }
    v = filter2.Process(filter.Process(v / 3));
    double env = Envelope(t, 0.9, 0.8, 0.85, release, length);
    track.Add(first + i, v * env * amp);
  }
}

void Bass(Track& track, double start, double hz, double length, double amp) {
  const int64_t first = ToSample(start), count = ToSample(length + 0.4);
  for (int64_t i = 0; i < count; ++i) {
    double t = static_cast<double>(i) / kRate;
    double env = Envelope(t, 0.02, 0.4, 0.7, 0.4, length);
    double v = std::sin(kTwoPi * hz * t) + 0.25 * std::sin(kTwoPi * hz * 2 * t) * std::exp(-t * 2);
    track.Add(first + i, v * env * amp);
  }
}

void Noise(Track& track, double start, double length, double amp, Biquad filter, double decay,
           uint64_t seed) {
  Rng rng(seed);
  const int64_t first = ToSample(start), count = ToSample(length);
  for (int64_t i = 0; i < count; ++i) {
    double t = static_cast<double>(i) / kRate;
    double env = std::exp(-t * decay) * std::min(1.0, t * 2000);
    track.Add(first + i, filter.Process(rng.Range(-1, 1)) * env * amp);
  }
}

void Glide(Track& track, double start, double hz0, double hz1, double length, double amp, double vibrato) {
  const int64_t first = ToSample(start), count = ToSample(length);
  double phase = 0;
  for (int64_t i = 0; i < count; ++i) {
    double t = static_cast<double>(i) / kRate, u = t / length;
    double semis = vibrato * std::sin(kTwoPi * 5.5 * t);
    double hz = hz0 * std::pow(hz1 / hz0, u) * std::pow(2.0, semis / 12);
    phase += hz / kRate;
    double env = std::min(1.0, t * 80) * std::min(1.0, (length - t) * 12);
    double v =
        std::sin(kTwoPi * phase) + 0.3 * std::sin(kTwoPi * phase * 2) + 0.12 * std::sin(kTwoPi * phase * 3);
    track.Add(first + i, v * env * amp);
  }
}

void Brass(Track& track, double start, double hz, double length, double amp) {
  const int64_t first = ToSample(start), count = ToSample(length + 0.35);
  double phase[2] = {0, 0.5};
  Biquad body = Biquad::LowPass(hz * 5, 0.9);
  for (int64_t i = 0; i < count; ++i) {
    double t = static_cast<double>(i) / kRate;
    if (i % 64 == 0) {
      // The filter opens with the breath and settles: the "blat" of a brass attack.
      double open = 2.5 + 5.5 * std::exp(-t * 9) + 1.2 * std::min(1.0, t * 3);
      body = Biquad::LowPass(std::min(hz * open, 4500.0), 0.9);
    }
    double v = 0;
    for (int k = 0; k < 2; ++k) {
      double inc = hz * (k == 0 ? 1.0 : 1.004) / kRate;
      v += SawBlep(phase[k], inc);
      phase[k] += inc;
      if (phase[k] >= 1) phase[k] -= 1;
    }
    double env = Envelope(t, 0.03, 0.15, 0.8, 0.35, length);
    track.Add(first + i, body.Process(v / 2) * env * amp);
  }
}

namespace {

struct Comb {
  std::vector<double> buffer;
  size_t pos = 0;
  double store = 0;
  double Process(double in, double feedback, double damp) {
    double out = buffer[pos];
    store = out * (1 - damp) + store * damp;
    buffer[pos] = in + store * feedback;
    pos = (pos + 1) % buffer.size();
    return out;
  }
};

struct AllPass {
  std::vector<double> buffer;
  size_t pos = 0;
  double Process(double in) {
    double held = buffer[pos];
    double out = held - in;
    buffer[pos] = in + held * 0.5;
    pos = (pos + 1) % buffer.size();
    return out;
  }
};

}  // namespace

void Reverb(const Track& send, double roomSize, double damping, double wet, std::vector<float>& left,
            std::vector<float>& right) {
  static const int kCombs[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
  static const int kAllPasses[4] = {556, 441, 341, 225};
  const int spread = 23;
  std::vector<Comb> combs[2];
  std::vector<AllPass> passes[2];
  for (int side = 0; side < 2; ++side) {
    for (int c : kCombs)
      combs[side].push_back({std::vector<double>(static_cast<size_t>(c + side * spread)), 0, 0});
    for (int a : kAllPasses)
      passes[side].push_back({std::vector<double>(static_cast<size_t>(a + side * spread)), 0});
  }
  const double feedback = 0.7 + 0.28 * roomSize;
  const size_t n = send.Size();
  // A looping track is run twice: the first lap fills the hall with the piece's end, so the
  // reverberation at the start of the second lap (the one kept) is what the loop really hears.
  const size_t laps = send.loops ? 2 : 1;
  for (size_t lap = 0; lap < laps; ++lap) {
    const bool keep = lap + 1 == laps;
    for (size_t i = 0; i < n; ++i) {
      double in = send.samples[i] * 0.015;
      for (int side = 0; side < 2; ++side) {
        double out = 0;
        for (Comb& comb : combs[side]) out += comb.Process(in, feedback, damping);
        for (AllPass& pass : passes[side]) out = pass.Process(out);
        if (keep) (side == 0 ? left : right)[i] += static_cast<float>(out * wet);
      }
    }
  }
}

void Normalize(std::vector<float>& samples, double peak) {
  float loudest = 0;
  for (float s : samples) loudest = std::max(loudest, std::fabs(s));
  if (loudest <= 0) return;
  const float gain = static_cast<float>(peak / loudest);
  for (float& s : samples) s *= gain;
}

void FadeEdges(std::vector<float>& samples, int channels, double seconds) {
  const size_t frames = samples.size() / static_cast<size_t>(channels);
  const size_t fade = std::min(frames / 2, static_cast<size_t>(seconds * kRate));
  for (size_t i = 0; i < fade; ++i) {
    float g = static_cast<float>(i) / static_cast<float>(fade);
    for (int c = 0; c < channels; ++c) {
      samples[i * channels + static_cast<size_t>(c)] *= g;
      samples[(frames - 1 - i) * channels + static_cast<size_t>(c)] *= g;
    }
  }
}

}  // namespace datagen::synth
