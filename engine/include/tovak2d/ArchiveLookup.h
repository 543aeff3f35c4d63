// SPDX-License-Identifier: Zlib
#pragma once

/// @file
/// PAK_HoldsEntry: a check of the open archive that writes nothing.

#include <string>

#include "tovak2d/Export.h"

namespace tovak2d {

/// Whether Extra::PAK_ExtractFile would find the entry in the open archive (looked up the same
/// way) and could read its contents, without writing anything: checking that a pack holds its
/// pictures then costs no file per picture.
///
/// The archive is the one Extra::PAK_OpenPAK opened last, for the whole process. When another
/// program changed it since, it is read again first (and that is logged, as for the other
/// archive calls).
/// @param FileName_inPAK The entry's short name, letter case aside (blanks around the stored
///                       name ignored); a full path with a drive letter is cut to its short name.
/// @return true when the entry exists and its bytes lie wholly within the archive file; false
///         when no archive is open, the entry is missing, or the archive cannot be read.
TOVAK2D_API bool PAK_HoldsEntry(const std::string& FileName_inPAK);

}  // namespace tovak2d
