#pragma once

#include <string>

#include "tovak2d/Export.h"

namespace tovak2d {

// Whether PAK_ExtractFile would find the entry in the open archive (looked up the same way) and
// could read its contents, without writing anything: checking that a pack holds its pictures
// then costs no file per picture.
TOVAK2D_API bool PAK_HoldsEntry(const std::string& FileName_inPAK);

}  // namespace tovak2d
