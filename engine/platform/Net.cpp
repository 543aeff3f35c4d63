// SPDX-License-Identifier: Zlib
#include "platform/Net.h"

// The functions are reached through pointers, which curl's type-checking macros would hide.
#define CURL_DISABLE_TYPECHECK
#include <curl/curl.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <type_traits>

namespace tovak2d::platform::net {
namespace {

size_t WriteToFile(char* data, size_t size, size_t count, void* file) {
  return std::fwrite(data, size, count, static_cast<std::FILE*>(file)) * size;
}

// libcurl, loaded at the first download rather than with the engine: it and the thirty-odd
// libraries it pulls in would lengthen every game's start for a call most games never make.
struct Curl {
  decltype(&::curl_global_init) global_init = nullptr;
  decltype(&::curl_easy_init) easy_init = nullptr;
  decltype(&::curl_easy_setopt) easy_setopt = nullptr;
  decltype(&::curl_easy_perform) easy_perform = nullptr;
  decltype(&::curl_easy_cleanup) easy_cleanup = nullptr;
  decltype(&::curl_easy_strerror) easy_strerror = nullptr;
  std::string error;  // why it could not be loaded
  bool ready = false;  // loaded and initialised
};

const Curl& LoadCurl() {
  static const Curl curl = [] {
    Curl loaded;
    // The OpenSSL build first, then the GnuTLS one: the same interface.
    void* library = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
    if (!library) library = dlopen("libcurl-gnutls.so.4", RTLD_NOW | RTLD_LOCAL);
    if (!library) {
      const char* why = dlerror();
      loaded.error = "the download library cannot be loaded (" + std::string(why ? why : "libcurl.so.4") + ")";
      return loaded;
    }
    auto find = [&](auto& function, const char* name) {
      function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(library, name));
      if (!function && loaded.error.empty()) loaded.error = std::string("libcurl lacks ") + name;
    };
    find(loaded.global_init, "curl_global_init");
    find(loaded.easy_init, "curl_easy_init");
    find(loaded.easy_setopt, "curl_easy_setopt");
    find(loaded.easy_perform, "curl_easy_perform");
    find(loaded.easy_cleanup, "curl_easy_cleanup");
    find(loaded.easy_strerror, "curl_easy_strerror");
    if (!loaded.error.empty()) return loaded;
    const CURLcode initialised = loaded.global_init(CURL_GLOBAL_DEFAULT);
    if (initialised != CURLE_OK)
      loaded.error = loaded.easy_strerror(initialised);
    else
      loaded.ready = true;
    return loaded;
  }();
  return curl;
}

}  // namespace

bool Download(const std::string& url, const std::filesystem::path& target, std::string* error) {
  const Curl& lib = LoadCurl();
  if (!lib.ready) {
    if (error) *error = lib.error;
    return false;
  }
  std::filesystem::path temp = target;
  temp += ".download-" + std::to_string(::getpid());
  std::FILE* file = std::fopen(temp.c_str(), "wb");
  if (!file) {
    if (error) *error = "cannot write " + temp.string();
    return false;
  }
  CURL* curl = lib.easy_init();
  CURLcode result = CURLE_FAILED_INIT;
  if (curl) {
    lib.easy_setopt(curl, CURLOPT_URL, url.c_str());
    lib.easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https,ftp");
    lib.easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https,ftp");
    lib.easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    lib.easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
    lib.easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    lib.easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 20L);
    lib.easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    lib.easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, 60L);
    lib.easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    lib.easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteToFile);
    lib.easy_setopt(curl, CURLOPT_WRITEDATA, file);
    result = lib.easy_perform(curl);
    lib.easy_cleanup(curl);
  }
  const bool written = std::fclose(file) == 0;
  if (result != CURLE_OK || !written || std::rename(temp.c_str(), target.c_str()) != 0) {
    if (error) *error = result != CURLE_OK ? lib.easy_strerror(result) : "cannot write " + target.string();
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

bool HasDefaultRoute(const std::string& routeTable) {
  std::ifstream in(routeTable);
  std::string line;
  std::getline(in, line);  // the column names
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string iface, destination, gateway;
    unsigned flags = 0;
    fields >> iface >> destination >> gateway >> std::hex >> flags;
    if (destination == "00000000" && (flags & 0x1) && iface != "lo") return true;
  }
  return false;
}

}  // namespace tovak2d::platform::net
