// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include <string>

#include "PhotoPack.h"

// What the game reads from varnel-pack photos beyond its progress (whose longest lines the text
// fits test shows): photo names holding ": ", the tool's own message; and the names packs are given.
TEST(PhotoPackLines, NamesHoldingAColonTheToolsOwnMessageAndFreeNames) {
  varnel::PhotoPackView view;
  std::string message;
  varnel::ReadToolLine("photo 1/2 dunes: at noon.png: level 1, 5 differences (moved, resized)", view,
                       message);
  varnel::ReadToolLine("varnel-pack: photo 2/2 a: b.png: skipped, not a JPEG or PNG picture", view, message);
  EXPECT_EQ(view.levels, 1);
  EXPECT_EQ(view.skipped, std::vector<std::string>{"a: b.png: not a JPEG or PNG picture"});
  EXPECT_EQ(message, "");
  varnel::ReadToolLine("varnel-pack: cannot write /p/x.part: No space left on device", view, message);
  EXPECT_EQ(message, "cannot write /p/x.part: No space left on device");
  EXPECT_EQ(varnel::FreePackName("Beach", {"beach.VNL", "Beach 2.vnl", "Beach 4.vnl"}), "Beach 3.vnl");
}
