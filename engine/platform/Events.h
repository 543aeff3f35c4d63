// SPDX-License-Identifier: Zlib
#pragma once

union SDL_Event;

// The window's message processing, run while the frame limiter waits.
namespace tovak2d::platform::events {

// Handles every pending window event: the input snapshot takes keys and mouse, the game's own
// event watches (the close button) have already seen them.
void ProcessMessages();

// Where input events go; the input layer installs itself here.
using EventSink = void (*)(const SDL_Event& event);
void SetInputSink(EventSink sink);

}  // namespace tovak2d::platform::events
