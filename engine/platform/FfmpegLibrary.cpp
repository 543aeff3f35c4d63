// SPDX-License-Identifier: Zlib
#include "platform/FfmpegLibrary.h"

#include <dlfcn.h>

#include <future>
#include <mutex>

namespace tovak2d::platform::ffmpeg {
namespace {

struct Loaded {
  Library library;
  bool ok = false;
  std::string error;
};

// Each library by the name the engine was built against: the major version is its interface.
struct Handles {
  void* avutil = nullptr;
  void* swresample = nullptr;
  void* avcodec = nullptr;
  void* avformat = nullptr;
};

void* OpenLibrary(const std::string& name, std::string& error) {
  // Kept for the rest of the process: music may start at any time.
  void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle && error.empty()) {
    const char* why = dlerror();
    error = why ? why : "cannot load " + name;
  }
  return handle;
}

Loaded Load() {
  Loaded loaded;
  Handles handles;
  handles.avutil = OpenLibrary("libavutil.so." + std::to_string(LIBAVUTIL_VERSION_MAJOR), loaded.error);
  handles.swresample =
      OpenLibrary("libswresample.so." + std::to_string(LIBSWRESAMPLE_VERSION_MAJOR), loaded.error);
  handles.avcodec = OpenLibrary("libavcodec.so." + std::to_string(LIBAVCODEC_VERSION_MAJOR), loaded.error);
  handles.avformat = OpenLibrary("libavformat.so." + std::to_string(LIBAVFORMAT_VERSION_MAJOR), loaded.error);
  if (!loaded.error.empty()) return loaded;
#define TOVAK2D_FFMPEG_FIND(from, name)                                                       \
  loaded.library.name = reinterpret_cast<decltype(&::name)>(dlsym(handles.from, #name)); \
  if (!loaded.library.name && loaded.error.empty()) loaded.error = "lib" #from " lacks " #name;
  TOVAK2D_FFMPEG_FUNCTIONS(TOVAK2D_FFMPEG_FIND)
#undef TOVAK2D_FFMPEG_FIND
  loaded.ok = loaded.error.empty();
  return loaded;
}

struct State {
  std::once_flag started;
  std::shared_future<Loaded> loading;
};

State& Shared() {
  static State state;
  return state;
}

}  // namespace

void Preload() {
  State& state = Shared();
  std::call_once(state.started, [&] {
    try {
      state.loading = std::async(std::launch::async, Load).share();
    } catch (const std::system_error&) {
      // No thread to spare: loaded on this thread when first wanted.
      state.loading = std::async(std::launch::deferred, Load).share();
    }
  });
}

const Library* Get(std::string* error) {
  Preload();
  const Loaded& loaded = Shared().loading.get();
  if (!loaded.ok) {
    if (error) *error = "the music libraries cannot be loaded (" + loaded.error + ")";
    return nullptr;
  }
  return &loaded.library;
}

}  // namespace tovak2d::platform::ffmpeg
