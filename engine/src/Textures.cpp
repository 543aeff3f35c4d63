// SPDX-License-Identifier: Zlib
#include <memory>
#include <string>

#include "EngineState.h"
#include "TextureData.h"
#include "TextureSize.h"
#include "modExtra.h"
#include "platform/Files.h"
#include "platform/Images.h"
#include "tovak2d/Engine.h"
#include "tovak2d/TextureAccess.h"

namespace tovak2d {
namespace {

constexpr int32_t kMaxTextureSide = 16384;

int32_t NextPowerOfTwo(int32_t v) {
  int32_t p = 1;
  while (p < v) p <<= 1;
  return p;
}

// Image files are always looked up in the application folder; only a name that already starts
// with it is taken as it is.
std::string TexturePath(const std::string& fileName) {
  const std::string& app = modExtra::AppPath;
  if (!app.empty() && fileName.compare(0, app.size(), app) == 0) return fileName;
  return app + "\\" + fileName;
}

// The size of a texture: the size asked for (the image's own for 0 or less), each side rounded
// up to a power of two.
bool TextureSide(int32_t asked, int imageSide, int32_t& side, std::string& why) {
  const int32_t wanted = asked > 0 ? asked : imageSide;
  if (wanted > kMaxTextureSide) {
    why = "texture size " + std::to_string(wanted) + " is too large";
    return false;
  }
  side = NextPowerOfTwo(wanted);
  return true;
}

std::shared_ptr<TextureData> LoadTexture(EngineState& state, const std::string& fileName, uint32_t colourKey,
                                         std::string& why) {
  int32_t askedWidth = -1, askedHeight = -1;
  try {
    modExtra::ReadTextureSize(fileName, askedWidth, askedHeight);
  } catch (const modExtra::TextureSizeError& e) {
    why = e.what();
    return nullptr;
  }
  if (!state.device) {
    why = "no graphics device";
    return nullptr;
  }
  auto bytes = platform::files::ReadWhole(TexturePath(fileName), &why);
  if (!bytes) return nullptr;
  auto image = platform::images::Decode(*bytes, &why);
  if (!image) return nullptr;

  // The key is compared with whole texels, alpha included: an opaque image never matches a key
  // whose alpha is 0.
  if (colourKey != 0)
    for (uint32_t& texel : image->argb)
      if (texel == colourKey) texel = 0;

  auto texture = std::make_shared<TextureData>();
  if (!TextureSide(askedWidth, image->width, texture->width, why) ||
      !TextureSide(askedHeight, image->height, texture->height, why))
    return nullptr;
  texture->pictureWidth = image->width;
  texture->pictureHeight = image->height;
  texture->image =
      platform::video::CreateTexture(*state.device, image->width, image->height, std::move(image->argb), &why);
  if (!texture->image) return nullptr;
  return texture;
}

}  // namespace

int32_t Texture::Width() const {
  return data_ ? data_->width : 0;
}
int32_t Texture::Height() const {
  return data_ ? data_->height : 0;
}
int32_t Texture::PictureWidth() const {
  return data_ ? data_->pictureWidth : 0;
}
int32_t Texture::PictureHeight() const {
  return data_ ? data_->pictureHeight : 0;
}

void Engine::CreateTexture(Texture& DXTexture, const std::string& FileName, int32_t transpColor) {
  // A log that cannot be written leaves nothing else to report to.
  try {
    if (!modExtra::CheckFile(FileName)) {
      modExtra::WriteLog("Error in CreateTextureEx : File is missing : " + FileName);
      return;
    }
    std::string why;
    auto texture = LoadTexture(*d_, FileName, static_cast<uint32_t>(transpColor), why);
    if (!texture) {
      modExtra::WriteLog("Error in CreateTextureEx : " + why);
      return;
    }
    TextureAccess::Data(DXTexture) = std::move(texture);
  } catch (const modExtra::LogError&) {
  }
}

}  // namespace tovak2d
