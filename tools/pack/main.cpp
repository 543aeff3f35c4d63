// SPDX-License-Identifier: Zlib
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Commands.h"

namespace {

void PrintUsage(FILE* out) {
  std::fprintf(out,
               "usage: varnel-pack COMMAND [ARGUMENTS]\n"
               "Makes, checks and changes Varnel picture packs.\n\ncommands:\n");
  for (const auto& command : varnel::pack::AllCommands())
    std::fprintf(out, "  %-13s %s\n", command.name, command.summary);
  std::fprintf(out, "\n'varnel-pack COMMAND --help' tells more about one command.\n");
}

bool AsksForHelp(const std::vector<std::string>& arguments) {
  for (const std::string& argument : arguments) {
    if (argument == "--") return false;
    if (argument == "--help" || argument == "-h") return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage(stderr);
    return 2;
  }
  const std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    PrintUsage(stdout);
    return 0;
  }
  const std::vector<std::string> arguments(argv + 2, argv + argc);
  for (const auto& command : varnel::pack::AllCommands()) {
    if (name != command.name) continue;
    if (AsksForHelp(arguments)) {
      std::fputs(command.help, stdout);
      return 0;
    }
    return command.run(arguments);
  }
  std::fprintf(stderr, "varnel-pack: unknown command '%s'\n", name.c_str());
  PrintUsage(stderr);
  return 2;
}
