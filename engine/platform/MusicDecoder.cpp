// SPDX-License-Identifier: Zlib
#include "platform/MusicDecoder.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>

#include "platform/FfmpegLibrary.h"
#include "platform/Files.h"

namespace tovak2d::platform::music {
namespace {

// The formats music comes in. Other demuxers are kept out: some of them follow references to
// other files or addresses, which a music file has no business doing.
constexpr char kFormats[] = "asf,mp3,ogg,flac,wav";
// Packets read without a single sound frame coming out before the file is given up as broken.
constexpr int kMaxFruitlessSteps = 20000;
constexpr auto kReadyWait = std::chrono::seconds(5);
// The most channels the resampler mixes down.
constexpr int kMaxChannels = 64;
// Sample rates music is made at lie far inside these; a damaged header claiming hundreds of
// megahertz made the resampler take seconds and gigabytes for each file opened.
constexpr int kMinSampleRate = 100;
constexpr int kMaxSampleRate = 768000;

constexpr size_t kMaxAllocation = 64 << 20;
// Packets read, not decoded, to measure a stream that does not carry its length: over twenty
// minutes of any usual format, and a fraction of a second of work for a hostile file of tiny ones.
constexpr int kMaxMeasuredPackets = 50000;

// FFmpeg's functions, there from the first file opened on (decoders exist only after one).
const ffmpeg::Library* ff = nullptr;

bool UsableRate(int rate) {
  return rate >= kMinSampleRate && rate <= kMaxSampleRate;
}

std::string ErrorText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  ff->av_strerror(code, text, sizeof text);
  return text;
}

}  // namespace

struct MusicStream::Decoder {
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  SwrContext* resampler = nullptr;
  AVPacket* packet = nullptr;
  AVFrame* frame = nullptr;
  int streamIndex = -1;
  int outRate = 0;
  double duration = 0;
  bool durationExact = false;  // from the file's own header or measured to the end

  // What the resampler was set up for; a frame that differs sets it up again.
  int inRate = 0;
  int inFormat = AV_SAMPLE_FMT_NONE;
  AVChannelLayout inLayout{};

  bool flushing = false;  // the file is read to its end; the codec gives what it still holds
  bool drained = false;
  std::atomic<uint64_t> damagedSamples{0};  // made silent since the stream last reported them

  ~Decoder() {
    ff->swr_free(&resampler);
    ff->av_channel_layout_uninit(&inLayout);
    ff->av_frame_free(&frame);
    ff->av_packet_free(&packet);
    ff->avcodec_free_context(&codec);
    ff->avformat_close_input(&format);
  }

  static std::unique_ptr<Decoder> Open(const std::string& nativePath, int rate, std::string* error);
  void MeasureLength();
  bool SetUpResampler(const AVFrame& f);
  void Convert(const AVFrame& f, std::vector<float>& out);
  void FlushResampler(std::vector<float>& out);
  bool DecodeSome(std::vector<float>& out);
  bool Rewind();
};

std::unique_ptr<MusicStream::Decoder> MusicStream::Decoder::Open(const std::string& nativePath, int rate,
                                                                 std::string* error) {
  auto fail = [&](const std::string& why) -> std::unique_ptr<Decoder> {
    if (error) *error = why;
    return nullptr;
  };
  if (!ff) {
    std::string why;
    const ffmpeg::Library* loaded = ffmpeg::Get(&why);
    if (!loaded) return fail(why);
    ff = loaded;
  }
  // Broken files are answered with a result and a log line of the engine's own; the library's
  // messages would only clutter the game's output.
  ff->av_log_set_level(AV_LOG_QUIET);
  // No piece of a music file needs more memory than this at once; a damaged chunk length of 2 GB
  // had the file reader fill that much for a 300-byte file, which took seconds and gigabytes.
  ff->av_max_alloc(kMaxAllocation);

  auto d = std::make_unique<Decoder>();
  d->outRate = rate;
  AVDictionary* options = nullptr;
  ff->av_dict_set(&options, "format_whitelist", kFormats, 0);
  ff->av_dict_set(&options, "protocol_whitelist", "file", 0);
  const std::string url = "file:" + nativePath;
  int result = ff->avformat_open_input(&d->format, url.c_str(), nullptr, &options);
  ff->av_dict_free(&options);
  if (result < 0) return fail(ErrorText(result));
  result = ff->avformat_find_stream_info(d->format, nullptr);
  if (result < 0) return fail(ErrorText(result));

  const AVCodec* codec = nullptr;
  d->streamIndex = ff->av_find_best_stream(d->format, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
  if (d->streamIndex < 0 || !codec) return fail("no sound stream that can be decoded");
  for (unsigned i = 0; i < d->format->nb_streams; ++i)
    if (static_cast<int>(i) != d->streamIndex) d->format->streams[i]->discard = AVDISCARD_ALL;
  const AVStream* stream = d->format->streams[d->streamIndex];

  d->codec = ff->avcodec_alloc_context3(codec);
  if (!d->codec) return fail("out of memory");
  result = ff->avcodec_parameters_to_context(d->codec, stream->codecpar);
  if (result < 0) return fail(ErrorText(result));
  d->codec->thread_count = 1;
  result = ff->avcodec_open2(d->codec, codec, nullptr);
  if (result < 0) return fail(ErrorText(result));
  if (!UsableRate(d->codec->sample_rate) || d->codec->ch_layout.nb_channels < 1 ||
      d->codec->ch_layout.nb_channels > kMaxChannels)
    return fail("the sound stream has no valid sample rate or channels");

  d->packet = ff->av_packet_alloc();
  d->frame = ff->av_frame_alloc();
  if (!d->packet || !d->frame) return fail("out of memory");

  if (d->format->duration != AV_NOPTS_VALUE && d->format->duration > 0)
    d->duration = static_cast<double>(d->format->duration) / AV_TIME_BASE;
  else if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
    d->duration = static_cast<double>(stream->duration) * av_q2d(stream->time_base);
  d->durationExact = d->duration > 0 && d->format->duration_estimation_method != AVFMT_DURATION_FROM_BITRATE;
  if (!d->durationExact) {
    d->MeasureLength();
    if (!d->Rewind()) return fail("the stream cannot go back to its start");
  }
  return d;
}

// A stream written to a pipe, or with the length left out of its header, carries no length, and
// one guessed from the bit rate is off for variable rates: the game, which restarts the music
// once its position reaches its length, would restart it on every pass or cut it short. Such a
// stream is measured here by the end of its last packet, read without decoding. A file longer
// than the bound keeps the larger of the guess and what was measured; the end of playback sets
// the length in any case.
void MusicStream::Decoder::MeasureLength() {
  const AVStream* stream = format->streams[streamIndex];
  const double unit = av_q2d(stream->time_base);
  const double start = stream->start_time != AV_NOPTS_VALUE ? static_cast<double>(stream->start_time) : 0;
  double end = start, summed = 0;
  bool complete = false;
  for (int packets = 0; packets < kMaxMeasuredPackets; ++packets) {
    if (ff->av_read_frame(format, packet) < 0) {
      complete = true;
      break;
    }
    if (packet->stream_index == streamIndex) {
      const double length = packet->duration > 0 ? static_cast<double>(packet->duration) : 0;
      summed += length;
      if (packet->pts != AV_NOPTS_VALUE) end = std::max(end, static_cast<double>(packet->pts) + length);
    }
    ff->av_packet_unref(packet);
  }
  const double measured = std::max(end - start, summed) * unit;
  if (!(measured > 0) || !std::isfinite(measured)) return;
  if (complete) {
    duration = measured;
    durationExact = true;
  } else {
    duration = std::max(duration, measured);
  }
}

bool MusicStream::Decoder::SetUpResampler(const AVFrame& f) {
  ff->swr_free(&resampler);
  ff->av_channel_layout_uninit(&inLayout);
  inRate = 0;
  if (ff->av_channel_layout_copy(&inLayout, &f.ch_layout) < 0) return false;
  AVChannelLayout source{};
  if (f.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
    ff->av_channel_layout_default(&source, f.ch_layout.nb_channels);
  else if (ff->av_channel_layout_copy(&source, &f.ch_layout) < 0)
    return false;
  AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
  int result = ff->swr_alloc_set_opts2(&resampler, &stereo, AV_SAMPLE_FMT_FLT, outRate, &source,
                                   static_cast<AVSampleFormat>(f.format), f.sample_rate, 0, nullptr);
  if (result >= 0 && source.nb_channels == 1) {
    // Mono goes to both sides at full level, as a mono file sounds from any player.
    const double both[2] = {1.0, 1.0};
    result = ff->swr_set_matrix(resampler, both, 1);
  }
  ff->av_channel_layout_uninit(&source);
  if (result < 0 || ff->swr_init(resampler) < 0) {
    ff->swr_free(&resampler);
    return false;
  }
  inRate = f.sample_rate;
  inFormat = f.format;
  return true;
}

namespace {

// A damaged file can decode to samples of no value (NaN, infinity) or far out of range; carried
// into the mix they turn every effect played over the music into noise or silence. They become
// silence, and values past full scale are cut to it. Returns how many were damaged.
uint64_t CleanSamples(std::vector<float>& out, size_t from) {
  uint64_t damaged = 0;
  for (size_t i = from; i < out.size(); ++i) {
    float& sample = out[i];
    if (!std::isfinite(sample)) {
      sample = 0;
      ++damaged;
    } else if (sample > 1.0f || sample < -1.0f) {
      sample = sample > 0 ? 1.0f : -1.0f;
    }
  }
  return damaged;
}

}  // namespace

void MusicStream::Decoder::Convert(const AVFrame& f, std::vector<float>& out) {
  if (f.nb_samples <= 0 || !UsableRate(f.sample_rate) || f.ch_layout.nb_channels < 1 ||
      f.ch_layout.nb_channels > kMaxChannels)
    return;
  if (!resampler || f.sample_rate != inRate || f.format != inFormat ||
      ff->av_channel_layout_compare(&f.ch_layout, &inLayout) != 0) {
    if (!SetUpResampler(f)) return;
  }
  const int capacity = ff->swr_get_out_samples(resampler, f.nb_samples);
  if (capacity <= 0) return;
  const size_t at = out.size();
  out.resize(at + static_cast<size_t>(capacity) * 2);
  auto* target = reinterpret_cast<uint8_t*>(out.data() + at);
  const int made =
      ff->swr_convert(resampler, &target, capacity, const_cast<const uint8_t**>(f.extended_data), f.nb_samples);
  out.resize(at + static_cast<size_t>(std::max(made, 0)) * 2);
  damagedSamples += CleanSamples(out, at);
}

void MusicStream::Decoder::FlushResampler(std::vector<float>& out) {
  if (!resampler) return;
  const int capacity = ff->swr_get_out_samples(resampler, 0);
  if (capacity <= 0) return;
  const size_t at = out.size();
  out.resize(at + static_cast<size_t>(capacity) * 2);
  auto* target = reinterpret_cast<uint8_t*>(out.data() + at);
  const int made = ff->swr_convert(resampler, &target, capacity, nullptr, 0);
  out.resize(at + static_cast<size_t>(std::max(made, 0)) * 2);
  damagedSamples += CleanSamples(out, at);
}

bool MusicStream::Decoder::DecodeSome(std::vector<float>& out) {
  const size_t start = out.size();
  for (int step = 0; out.size() == start; ++step) {
    if (drained) return false;
    if (step > kMaxFruitlessSteps) {
      drained = true;
      return false;
    }
    const int received = ff->avcodec_receive_frame(codec, frame);
    if (received == 0) {
      Convert(*frame, out);
      ff->av_frame_unref(frame);
      continue;
    }
    if (received == AVERROR_EOF || (flushing && received == AVERROR(EAGAIN))) {
      FlushResampler(out);
      drained = true;
      return false;
    }
    // Anything else is a damaged frame: it is skipped and decoding goes on.
    if (flushing) continue;
    const int read = ff->av_read_frame(format, packet);
    if (read < 0) {
      // The end of the file, or a part that cannot be read: what came before still plays.
      flushing = true;
      ff->avcodec_send_packet(codec, nullptr);
      continue;
    }
    if (packet->stream_index == streamIndex) ff->avcodec_send_packet(codec, packet);
    ff->av_packet_unref(packet);
  }
  return true;
}

bool MusicStream::Decoder::Rewind() {
  const AVStream* stream = format->streams[streamIndex];
  const int64_t start = stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
  if (ff->av_seek_frame(format, streamIndex, start, AVSEEK_FLAG_BACKWARD) < 0 &&
      ff->avformat_seek_file(format, -1, INT64_MIN, 0, 0, 0) < 0)
    return false;
  ff->avcodec_flush_buffers(codec);
  ff->swr_free(&resampler);  // drops what it held back; set up again by the next frame
  flushing = false;
  drained = false;
  return true;
}

void PreloadDecoder() {
  ffmpeg::Preload();
}

std::shared_ptr<MusicStream> MusicStream::Open(std::string_view path, int rate, std::string* error) {
  auto decoder = Decoder::Open(files::ToNative(path).string(), rate, error);
  if (!decoder) return nullptr;
  std::vector<float> first;
  decoder->DecodeSome(first);
  if (first.empty()) {
    if (error) *error = "no sound could be decoded";
    return nullptr;
  }
  return std::shared_ptr<MusicStream>(new MusicStream(std::move(decoder), rate, std::move(first)));
}

MusicStream::MusicStream(std::unique_ptr<Decoder> decoder, int rate, std::vector<float> firstFrames)
    : rate_(rate),
      decoder_(std::move(decoder)),
      firstFrames_(std::move(firstFrames)),
      ring_(kRingFrames * 2),
      duration_(decoder_->duration),
      durationExact_(decoder_->durationExact) {
  worker_ = std::thread([this] { Run(); });
}

MusicStream::~MusicStream() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  workerWake_.notify_all();
  dataReady_.notify_all();
  worker_.join();
}

uint64_t MusicStream::TakeDamagedSamples() {
  return decoder_ ? decoder_->damagedSamples.exchange(0) : 0;
}

double MusicStream::Duration() const {
  std::lock_guard lock(mutex_);
  return duration_;
}

double MusicStream::Position() const {
  std::lock_guard lock(mutex_);
  if (playedEnd_ && duration_ > 0) return duration_;
  return static_cast<double>(playedFrames_) / rate_;
}

void MusicStream::Rewind() {
  {
    std::lock_guard lock(mutex_);
    rewindRequested_ = true;
    ringStart_ = ringFrames_ = 0;
    decodedEnd_ = playedEnd_ = false;
    playedFrames_ = 0;
  }
  workerWake_.notify_all();
}

size_t MusicStream::PushLocked(const float* frames, size_t count) {
  const size_t n = std::min(count, kRingFrames - ringFrames_);
  for (size_t i = 0; i < n; ++i) {
    const size_t slot = (ringStart_ + ringFrames_ + i) % kRingFrames;
    ring_[slot * 2] = frames[i * 2];
    ring_[slot * 2 + 1] = frames[i * 2 + 1];
  }
  ringFrames_ += n;
  return n;
}

size_t MusicStream::Read(float* out, size_t frames) {
  size_t n = 0;
  {
    std::lock_guard lock(mutex_);
    n = std::min(frames, ringFrames_);
    for (size_t i = 0; i < n; ++i) {
      const size_t slot = (ringStart_ + i) % kRingFrames;
      out[i * 2] = ring_[slot * 2];
      out[i * 2 + 1] = ring_[slot * 2 + 1];
    }
    ringStart_ = (ringStart_ + n) % kRingFrames;
    ringFrames_ -= n;
    playedFrames_ += n;
    if (ringFrames_ == 0 && decodedEnd_ && !playedEnd_) {
      playedEnd_ = true;
      // A file whose length was only guessed ends where its sound ends.
      if (!durationExact_) {
        duration_ = static_cast<double>(playedFrames_) / rate_;
        durationExact_ = true;
      }
    }
  }
  if (n > 0) workerWake_.notify_one();
  return n;
}

void MusicStream::WaitUntilReady(size_t frames) {
  std::unique_lock lock(mutex_);
  const size_t wanted = std::min(frames, kRingFrames);
  dataReady_.wait_for(lock, kReadyWait, [&] { return quit_ || ringFrames_ >= wanted || decodedEnd_; });
}

void MusicStream::Run() {
  std::vector<float> pending = std::move(firstFrames_);
  size_t pendingAt = 0;  // frames of pending already in the ring
  bool reachedEnd = false;
  for (;;) {
    bool rewind = false;
    {
      std::unique_lock lock(mutex_);
      for (;;) {
        if (quit_) return;
        if (rewindRequested_) {
          rewindRequested_ = false;
          rewind = true;
          break;
        }
        const size_t pendingFrames = pending.size() / 2;
        if (pendingAt < pendingFrames) {
          pendingAt += PushLocked(pending.data() + pendingAt * 2, pendingFrames - pendingAt);
          dataReady_.notify_all();
          if (pendingAt < pendingFrames) {
            workerWake_.wait(lock);  // the ring is full: wait until the mixer takes some
            continue;
          }
        }
        if (reachedEnd) {
          if (!decodedEnd_) {
            decodedEnd_ = true;
            dataReady_.notify_all();
          }
          workerWake_.wait(lock);  // nothing left to decode until a rewind
          continue;
        }
        break;
      }
    }
    pending.clear();
    pendingAt = 0;
    if (rewind)
      reachedEnd = !decoder_->Rewind();
    else
      reachedEnd = !decoder_->DecodeSome(pending);
  }
}

}  // namespace tovak2d::platform::music
