// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include <string>

#include "PhotoPack.h"

// The lines varnel-pack photos writes to standard error, as the game reads them for its progress
// bar and its list of photos left out; and the names finished packs are given.
TEST(PhotoPackLines, ProgressSkippedPhotosAndTheToolsOwnMessage) {
  varnel::PhotoPackView view;
  std::string message;
  for (const char* line : {"varnel-pack: notes.jpg: skipped, not a JPEG or PNG picture",
                           "photo 1/3 beach.jpg: level 1, 5 differences (removed, colour, mirrored)",
                           "varnel-pack: photo 2/3 tiny.png: skipped, too small (90 x 60 pixels; the "
                           "horizontal layout needs at least 190 x 128)",
                           "photo 3/3 dunes: at noon.png: level 2, 5 differences (moved, resized)"}) {
    varnel::ReadToolLine(line, view, message);
  }
  EXPECT_EQ(view.done, 3);
  EXPECT_EQ(view.total, 3);
  EXPECT_EQ(view.levels, 2);
  ASSERT_EQ(view.skipped.size(), 2U);
  EXPECT_EQ(view.skipped[0], "notes.jpg: not a JPEG or PNG picture");
  EXPECT_EQ(view.skipped[1],
            "tiny.png: too small (90 x 60 pixels; the horizontal layout needs at least 190 x 128)");
  EXPECT_EQ(message, "");
  varnel::ReadToolLine("varnel-pack: cannot write /p/x.part: No space left on device", view, message);
  EXPECT_EQ(message, "cannot write /p/x.part: No space left on device");
  EXPECT_EQ(view.skipped.size(), 2U);

  EXPECT_EQ(varnel::FreePackName("Beach", {"City.vnl"}), "Beach.vnl");
  EXPECT_EQ(varnel::FreePackName("Beach", {"beach.VNL", "Beach 2.vnl", "Beach 4.vnl"}), "Beach 3.vnl");
}
