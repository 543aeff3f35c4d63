// SPDX-License-Identifier: Zlib
#pragma once

/// @file
/// IniReadBatch: fast runs of INI reads of files that do not change meanwhile.

#include "tovak2d/Export.h"
#include "tovak2d/NonCopyable.h"

namespace tovak2d {

/// While one of these lives, an INI read of a file this process has read before and has written
/// no file since uses what it read, without looking at the file again.
///
/// For long runs of reads of files no other program changes meanwhile: checking a pack reads a
/// thousand values of one file, and looking at the file before each of them was a fifth of the
/// check. Without a batch every Extra::INIRead looks at the file's size and change time first,
/// so changes made by other programs are seen. A write by this process (any file) ends the
/// reuse until the file is read again. Batches nest; the last one to go ends the effect.
///
/// ~~~{.cpp}
/// {
///   tovak2d::IniReadBatch batch;
///   for (int level = 1; level <= 100; ++level)
///     names.push_back(extra.INIRead("level" + std::to_string(level), "name", "levels.ini"));
/// }
/// ~~~
class TOVAK2D_API IniReadBatch : private NonCopyable {
 public:
  /// Starts a batch: from now on, reads reuse what was read.
  IniReadBatch();
  /// Ends this batch; once no batch is left, reads look at the files again.
  ~IniReadBatch();
};

}  // namespace tovak2d
