// SPDX-License-Identifier: Zlib
#pragma once

#include "tovak2d/Diagnostics.h"

namespace tovak2d::drawreport {

// True while an observer is set; drawing code checks it before building a record, so a frame
// without an observer costs nothing extra.
extern bool observing;

void Report(const DrawRecord& record);

}  // namespace tovak2d::drawreport
