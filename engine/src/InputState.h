#pragma once

namespace tovak2d {

struct InputState {};

}  // namespace tovak2d
