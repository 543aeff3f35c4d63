#include "platform/Net.h"

#include <curl/curl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace tovak2d::platform::net {
namespace {

size_t WriteToFile(char* data, size_t size, size_t count, void* file) {
  return std::fwrite(data, size, count, static_cast<std::FILE*>(file)) * size;
}

}  // namespace

bool Download(const std::string& url, const std::filesystem::path& target, std::string* error) {
  static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
  if (initialised != CURLE_OK) {
    if (error) *error = curl_easy_strerror(initialised);
    return false;
  }
  std::filesystem::path temp = target;
  temp += ".download-" + std::to_string(::getpid());
  std::FILE* file = std::fopen(temp.c_str(), "wb");
  if (!file) {
    if (error) *error = "cannot write " + temp.string();
    return false;
  }
  CURL* curl = curl_easy_init();
  CURLcode result = CURLE_FAILED_INIT;
  if (curl) {
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https,ftp");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https,ftp");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 20L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, 60L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteToFile);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, file);
    result = curl_easy_perform(curl);
    curl_easy_cleanup(curl);
  }
  const bool written = std::fclose(file) == 0;
  if (result != CURLE_OK || !written || std::rename(temp.c_str(), target.c_str()) != 0) {
    if (error) *error = result != CURLE_OK ? curl_easy_strerror(result) : "cannot write " + target.string();
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
