#include <gtest/gtest.h>

#include "Bmp.h"
#include "Dds.h"
#include "Decode.h"
#include "Jpeg.h"

using namespace datagen;

namespace {

Canvas Sample() {
  Canvas c(32, 16);
  cairo_set_source_rgba(c.cr(), 0.8, 0.2, 0.1, 1);
  cairo_rectangle(c.cr(), 0, 0, 16, 16);
  cairo_fill(c.cr());
  return c;
}

Bytes Png(const Canvas& c) {
  Bytes out;
  cairo_surface_write_to_png_stream(
      c.surface(),
      [](void* closure, const unsigned char* data, unsigned int length) {
        static_cast<Bytes*>(closure)->insert(static_cast<Bytes*>(closure)->end(), data, data + length);
        return CAIRO_STATUS_SUCCESS;
      },
      &out);
  return out;
}

}  // namespace

TEST(PictureDecoding, EveryFormatOfTheGameFolderComesBack) {
  const Canvas c = Sample();
  const std::pair<std::string, Bytes> files[] = {
      {"a.jpg", EncodeJpeg({32, 16, c.ToRgb()}, 94)},
      {"a.dds", EncodeDds(c, DdsFormat::A8R8G8B8)},
      {"b.DDS", EncodeDds(c, DdsFormat::Dxt5)},
      {"a.bmp", EncodeBmp32(c)},
      {"a.png", Png(c)},
  };
  for (const auto& [name, data] : files) {
    SCOPED_TRACE(name);
    auto back = DecodePicture(name, data);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->width(), 32);
    EXPECT_EQ(back->height(), 16);
    back->Flush();
    const uint32_t inside = back->Row(8)[4], outside = back->Row(8)[28];
    EXPECT_GT((inside >> 16) & 255, 180u) << std::hex << inside;
    if (name != "a.jpg") {
      EXPECT_LT(outside >> 24, 8u) << "clear stays clear";
    }
  }
}

TEST(PictureDecoding, DamagedFilesAreRefusedNotTrusted) {
  const Canvas c = Sample();
  Bytes dds = EncodeDds(c, DdsFormat::A8R8G8B8);
  dds[12] = 0xFF;  // a huge height the file does not hold
  dds[13] = 0xFF;
  EXPECT_FALSE(DecodePicture("x.dds", dds).has_value());
  Bytes bmp = EncodeBmp32(c);
  bmp[28] = 24;  // no longer the 32-bit layout
  EXPECT_FALSE(DecodePicture("x.bmp", bmp).has_value());
  Bytes jpg = EncodeJpeg({32, 16, c.ToRgb()}, 94);
  jpg.resize(jpg.size() / 3);
  EXPECT_FALSE(DecodePicture("x.jpg", Bytes(jpg.begin(), jpg.begin() + 8)).has_value());
  EXPECT_FALSE(DecodePicture("x.png", Bytes{0x89, 'P', 'N', 'G', 1, 2, 3}).has_value());
  EXPECT_FALSE(DecodePicture("x.gif", Bytes{'G', 'I', 'F'}).has_value()) << "formats the game does not ship";
  EXPECT_FALSE(DecodePicture("noextension", Bytes{1, 2, 3}).has_value());
}
