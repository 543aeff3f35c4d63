// SPDX-License-Identifier: Zlib
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <string>

// FFmpeg's libraries, loaded when music is first wanted instead of with the engine. Together with
// the hundred-odd libraries they pull in they take about 40 ms to load, which every start of a
// game would otherwise spend before its first frame. Preload starts the loading on a thread of its
// own, so that it runs beside the game's own start-up.
namespace tovak2d::platform::ffmpeg {

// The functions the music decoder calls, each with the library that holds it.
#define TOVAK2D_FFMPEG_FUNCTIONS(X)                                                                  \
  X(avutil, av_strerror)                                                                             \
  X(avutil, av_log_set_level)                                                                        \
  X(avutil, av_max_alloc)                                                                            \
  X(avutil, av_dict_set)                                                                             \
  X(avutil, av_dict_free)                                                                            \
  X(avutil, av_frame_alloc)                                                                          \
  X(avutil, av_frame_free)                                                                           \
  X(avutil, av_frame_unref)                                                                          \
  X(avutil, av_channel_layout_uninit)                                                                \
  X(avutil, av_channel_layout_copy)                                                                  \
  X(avutil, av_channel_layout_default)                                                               \
  X(avutil, av_channel_layout_compare)                                                               \
  X(swresample, swr_alloc_set_opts2)                                                                 \
  X(swresample, swr_set_matrix)                                                                      \
  X(swresample, swr_init)                                                                            \
  X(swresample, swr_free)                                                                            \
  X(swresample, swr_get_out_samples)                                                                 \
  X(swresample, swr_convert)                                                                         \
  X(avcodec, av_packet_alloc)                                                                        \
  X(avcodec, av_packet_free)                                                                         \
  X(avcodec, av_packet_unref)                                                                        \
  X(avcodec, avcodec_alloc_context3)                                                                 \
  X(avcodec, avcodec_free_context)                                                                   \
  X(avcodec, avcodec_parameters_to_context)                                                          \
  X(avcodec, avcodec_open2)                                                                          \
  X(avcodec, avcodec_send_packet)                                                                    \
  X(avcodec, avcodec_receive_frame)                                                                  \
  X(avcodec, avcodec_flush_buffers)                                                                  \
  X(avformat, avformat_open_input)                                                                   \
  X(avformat, avformat_find_stream_info)                                                             \
  X(avformat, av_find_best_stream)                                                                   \
  X(avformat, av_read_frame)                                                                         \
  X(avformat, av_seek_frame)                                                                         \
  X(avformat, avformat_seek_file)                                                                    \
  X(avformat, avformat_close_input)

struct Library {
#define TOVAK2D_FFMPEG_MEMBER(from, name) decltype(&::name) name = nullptr;
  TOVAK2D_FFMPEG_FUNCTIONS(TOVAK2D_FFMPEG_MEMBER)
#undef TOVAK2D_FFMPEG_MEMBER
};

// Starts loading the libraries in the background, once per process; returns at once.
void Preload();

// The loaded functions, waiting for a load that is under way; null, with the reason, when a
// library or one of its functions is missing.
const Library* Get(std::string* error);

}  // namespace tovak2d::platform::ffmpeg
