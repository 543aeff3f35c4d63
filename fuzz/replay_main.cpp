// SPDX-License-Identifier: Zlib
// Runs a fuzz target over saved inputs without libFuzzer: every file named on the command line,
// or every file in a folder named there, once, in name order. An input that breaks the target
// aborts the program, so CTest keeps each corpus and each past crash as a test in every build.
// Finding no input at all is a failure too.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  // The target may change the current folder when it starts: names are made absolute first.
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const fs::path named = fs::absolute(argv[i]);
    if (fs::is_directory(named)) {
      std::vector<fs::path> inFolder;
      for (const auto& entry : fs::directory_iterator(named))
        if (entry.is_regular_file()) inFolder.push_back(entry.path());
      std::sort(inFolder.begin(), inFolder.end());
      inputs.insert(inputs.end(), inFolder.begin(), inFolder.end());
    } else if (fs::exists(named)) {
      inputs.push_back(named);
    } else {
      std::fprintf(stderr, "replay: %s does not exist, skipped\n", named.c_str());
    }
  }

  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
  for (const fs::path& input : inputs) {
    std::ifstream in(input, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    std::fprintf(stderr, "replay: %s\n", input.c_str());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
  std::printf("replay: %zu inputs ran\n", inputs.size());
  // No input at all means a corpus went missing: that proves nothing, so it fails.
  return inputs.empty() ? 1 : 0;
}
