#pragma once

#include "tovak2d/Export.h"

namespace tovak2d {

// While one of these lives, an INI read of a file this process has read before and has written
// no file since uses what it read, without looking at the file again. For long runs of reads of
// files no other program changes meanwhile: checking a pack reads a thousand values of one file,
// and looking at the file before each of them was a fifth of the check. Batches nest.
class TOVAK2D_API IniReadBatch {
 public:
  IniReadBatch();
  ~IniReadBatch();
  IniReadBatch(const IniReadBatch&) = delete;
  IniReadBatch& operator=(const IniReadBatch&) = delete;
};

}  // namespace tovak2d
