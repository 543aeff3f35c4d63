// SPDX-License-Identifier: Zlib
#include "platform/Mixer.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tovak2d::platform::audio {
namespace {

constexpr float kFromInt16 = 1.0f / 32768.0f;
constexpr float kFromFraction = 1.0f / 4294967296.0f;

float GainOf(int32_t attenuation) {
  if (attenuation <= kSilent) return 0.0f;
  return static_cast<float>(std::pow(10.0, attenuation / 2000.0));
}

}  // namespace

Mixer::Mixer(int rate) : rate_(rate > 0 ? rate : 44100), scratch_(kMaxChunk * 2) {}

Mixer::Channel* Mixer::Find(Id id) {
  for (Channel& c : channels_)
    if (c.id == id) return &c;
  return nullptr;
}

const Mixer::Channel* Mixer::Find(Id id) const {
  for (const Channel& c : channels_)
    if (c.id == id) return &c;
  return nullptr;
}

Mixer::Id Mixer::Add(Channel channel) {
  std::lock_guard lock(mutex_);
  channel.id = nextId_++;
  channels_.push_back(std::move(channel));
  return channels_.back().id;
}

Mixer::Id Mixer::AddVoice(std::shared_ptr<const Pcm> pcm) {
  Channel channel;
  channel.pcm = std::move(pcm);
  return Add(std::move(channel));
}

Mixer::Id Mixer::AddStream(std::shared_ptr<StreamSource> source) {
  Channel channel;
  channel.stream = std::move(source);
  return Add(std::move(channel));
}

void Mixer::Remove(Id id) {
  Channel removed;
  {
    std::lock_guard lock(mutex_);
    auto it = std::find_if(channels_.begin(), channels_.end(), [id](const Channel& c) { return c.id == id; });
    if (it == channels_.end()) return;
    removed = std::move(*it);
    channels_.erase(it);
  }
  // A stream may take a while to shut its decoder down; that happens here, outside the lock,
  // so the mixing never waits for it.
}

void Mixer::UpdateGains(Channel& channel) {
  // A positive pan attenuates the left side by that much, a negative one the right side.
  channel.gainLeft = GainOf(channel.volume - std::max(channel.pan, 0));
  channel.gainRight = GainOf(channel.volume + std::min(channel.pan, 0));
}

bool Mixer::SetGainSetting(Id id, int32_t Channel::*setting, int32_t value) {
  std::lock_guard lock(mutex_);
  Channel* c = Find(id);
  if (!c) return false;
  c->*setting = value;
  UpdateGains(*c);
  return true;
}

bool Mixer::SetVolume(Id id, int32_t attenuation) {
  if (attenuation > 0 || attenuation < kSilent) return false;
  return SetGainSetting(id, &Channel::volume, attenuation);
}

bool Mixer::SetPan(Id id, int32_t pan) {
  if (pan > kPanLimit || pan < -kPanLimit) return false;
  return SetGainSetting(id, &Channel::pan, pan);
}

bool Mixer::SetFrequency(Id id, int32_t hertz) {
  if (hertz != 0 && (hertz < kMinFrequency || hertz > kMaxFrequency)) return false;
  std::lock_guard lock(mutex_);
  Channel* c = Find(id);
  if (!c || !c->pcm) return false;
  c->frequency = hertz;
  return true;
}

void Mixer::SetPosition(Id id, size_t frame) {
  std::lock_guard lock(mutex_);
  Channel* c = Find(id);
  if (!c || !c->pcm) return;
  c->position = static_cast<uint64_t>(std::min(frame, c->pcm->Frames())) << 32;
}

size_t Mixer::Position(Id id) const {
  std::lock_guard lock(mutex_);
  const Channel* c = Find(id);
  return c ? static_cast<size_t>(c->position >> 32) : 0;
}

void Mixer::Play(Id id, bool loop) {
  std::lock_guard lock(mutex_);
  Channel* c = Find(id);
  if (!c) return;
  c->playing = true;
  c->looping = loop;
}

void Mixer::Stop(Id id) {
  std::lock_guard lock(mutex_);
  if (Channel* c = Find(id)) c->playing = false;
}

bool Mixer::IsPlaying(Id id) const {
  std::lock_guard lock(mutex_);
  const Channel* c = Find(id);
  return c && c->playing;
}

void Mixer::MixVoice(Channel& voice, float* out, size_t frames) {
  const Pcm& pcm = *voice.pcm;
  const size_t count = pcm.Frames();
  const int sourceRate = voice.frequency != 0 ? voice.frequency : pcm.rate;
  if (count == 0 || sourceRate <= 0) {
    voice.playing = false;
    return;
  }
  // Resampling by linear interpolation; the step is source frames per output frame.
  const uint64_t step = (static_cast<uint64_t>(sourceRate) << 32) / static_cast<uint64_t>(rate_);
  const uint64_t end = static_cast<uint64_t>(count) << 32;
  const int16_t* s = pcm.samples.data();
  const bool stereo = pcm.channels == 2;
  const float left = voice.gainLeft * kFromInt16;
  const float right = voice.gainRight * kFromInt16;
  uint64_t pos = voice.position;

  for (size_t i = 0; i < frames; ++i) {
    if (pos >= end) {
      if (!voice.looping) {
        voice.playing = false;
        break;
      }
      pos %= end;
    }
    const size_t index = static_cast<size_t>(pos >> 32);
    const float frac = static_cast<float>(pos & 0xFFFFFFFFu) * kFromFraction;
    const size_t next = index + 1 < count ? index + 1 : (voice.looping ? 0 : index);
    if (stereo) {
      const float a0 = s[index * 2], b0 = s[next * 2];
      const float a1 = s[index * 2 + 1], b1 = s[next * 2 + 1];
      out[i * 2] += (a0 + (b0 - a0) * frac) * left;
      out[i * 2 + 1] += (a1 + (b1 - a1) * frac) * right;
    } else {
      const float a = s[index], b = s[next];
      const float v = a + (b - a) * frac;
      out[i * 2] += v * left;
      out[i * 2 + 1] += v * right;
    }
    pos += step;
  }
  voice.position = std::min(pos, end);
}

void Mixer::MixStream(Channel& stream, float* out, size_t frames) {
  size_t done = 0;
  while (done < frames) {
    const size_t want = std::min(frames - done, kMaxChunk);
    const size_t got = stream.stream->Read(scratch_.data(), want);
    for (size_t i = 0; i < got; ++i) {
      out[(done + i) * 2] += scratch_[i * 2] * stream.gainLeft;
      out[(done + i) * 2 + 1] += scratch_[i * 2 + 1] * stream.gainRight;
    }
    done += got;
    if (got < want) break;  // the decoder is behind or done: silence for the rest
  }
}

void Mixer::Mix(float* out, size_t frames) {
  std::fill(out, out + frames * 2, 0.0f);
  std::lock_guard lock(mutex_);
  for (Channel& c : channels_) {
    if (!c.playing) continue;
    if (c.pcm)
      MixVoice(c, out, frames);
    else if (c.stream)
      MixStream(c, out, frames);
  }
  for (size_t i = 0; i < frames * 2; ++i) out[i] = std::clamp(out[i], -1.0f, 1.0f);
}

void Mixer::WaitForStreams(size_t frames) {
  std::vector<std::shared_ptr<StreamSource>> playing;
  {
    std::lock_guard lock(mutex_);
    for (const Channel& c : channels_)
      if (c.playing && c.stream) playing.push_back(c.stream);
  }
  for (const auto& stream : playing) stream->WaitUntilReady(frames);
}

}  // namespace tovak2d::platform::audio
