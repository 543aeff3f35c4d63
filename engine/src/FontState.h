#pragma once

namespace tovak2d {

struct FontState {};

}  // namespace tovak2d
