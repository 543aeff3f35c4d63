// SPDX-License-Identifier: Zlib
#pragma once

// What the fuzz targets that drive the engine share beyond the scratch folder: forgetting the
// archive an input opened, and the offline sound output the audio targets hold for a whole run.
#include <memory>
#include <string>

#include "Archive.h"
#include "FuzzSupport.h"
#include "modExtra.h"
#include "platform/Audio.h"
#include "platform/Dialogs.h"

namespace fuzzsupport {

// The end of an input that opened an archive: the application folder emptied and checked for
// strays, and the engine's open archive and recorded messages forgotten so the next input starts
// as the first did.
inline void ForgetArchive(const Scratch& scratch) {
  scratch.Clear();
  scratch.CheckNoStrays();
  tovak2d::modExtra::PakPath.clear();
  tovak2d::modExtra::PakIndex.clear();
  tovak2d::modExtra::PakStamp.reset();
  tovak2d::platform::dialogs::ClearRecordedMessages();
}

// The mixer running without a sound card; held for the whole run so that every engine shares one
// output instead of opening its own.
inline std::shared_ptr<tovak2d::platform::audio::Output> OpenOfflineOutput() {
  namespace audio = tovak2d::platform::audio;
  audio::testing::UseOfflineOutput(true);
  std::string error;
  std::shared_ptr<audio::Output> output = audio::OpenOutput(&error);
  Check(output != nullptr, "no offline output: " + error);
  return output;
}

}  // namespace fuzzsupport
