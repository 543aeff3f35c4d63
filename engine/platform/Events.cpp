// SPDX-License-Identifier: Zlib
#include "platform/Events.h"

#include <SDL.h>

#include "platform/Desktop.h"
#include "platform/Video.h"

namespace tovak2d::platform::events {
namespace {
EventSink inputSink = nullptr;
bool quitSent = false;
}  // namespace

void ProcessMessages() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  // A display that went away closes the game as its close button would, once.
  if (desktop::DisplayLost() && !quitSent) {
    quitSent = true;
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
  }
  video::FinishPlacement();
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (inputSink) inputSink(event);
    // The text of a drop is SDL's to hand over and the receiver's to free.
    if (event.type == SDL_DROPFILE || event.type == SDL_DROPTEXT) SDL_free(event.drop.file);
  }
}

void SetInputSink(EventSink sink) {
  inputSink = sink;
}

}  // namespace tovak2d::platform::events
