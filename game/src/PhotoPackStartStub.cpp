// Temporary stand-in until the photo pack maker lands
// SPDX-License-Identifier: Zlib
#include <filesystem>
#include <string>
#include <system_error>

#include "PhotoPackStart.h"
#include "modDeclares.h"
#include "tovak2d/CodePage.h"

namespace varnel {

// Only says what would be made: the title is the folder's name, the photos are those in it.
void StartPhotoPack(const std::vector<std::string>& Paths) {
  namespace fs = std::filesystem;
  if (Paths.empty()) return;
  std::error_code ec;
  const bool folder = Paths.size() == 1 && fs::is_directory(Paths.front(), ec);
  const fs::path where = folder ? fs::path(Paths.front()) : fs::path(Paths.front()).parent_path();
  size_t photos = folder ? 0 : Paths.size();
  if (folder)
    for (const auto& entry : fs::directory_iterator(where, ec)) photos += entry.is_regular_file(ec) ? 1 : 0;
  oExtra->SaveLog("Photo pack: making \"" + tovak2d::Utf8ToCp1252Lossy(where.filename().string()) +
                  "\" from " + std::to_string(photos) + " photos");
}

}  // namespace varnel
