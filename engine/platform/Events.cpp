// SPDX-License-Identifier: Zlib
#include "platform/Events.h"

#include <SDL.h>

#include "platform/Video.h"

namespace tovak2d::platform::events {
namespace {
EventSink inputSink = nullptr;
}

void ProcessMessages() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  video::FinishPlacement();
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (inputSink) inputSink(event);
  }
}

void SetInputSink(EventSink sink) {
  inputSink = sink;
}

}  // namespace tovak2d::platform::events
