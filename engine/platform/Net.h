// SPDX-License-Identifier: Zlib
#pragma once

#include <filesystem>
#include <string>

namespace tovak2d::platform::net {

// Downloads url (http, https or ftp) into the file target: written beside it first and renamed
// into place, so a broken download leaves no half file. False with the reason in *error.
bool Download(const std::string& url, const std::filesystem::path& target, std::string* error = nullptr);

// Whether the machine has a default route, the nearest thing to "connected to a network".
bool HasDefaultRoute(const std::string& routeTable = "/proc/net/route");

}  // namespace tovak2d::platform::net
