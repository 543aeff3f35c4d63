#pragma once

namespace tovak2d {

struct SoundState {};

}  // namespace tovak2d
