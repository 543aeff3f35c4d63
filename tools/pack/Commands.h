// SPDX-License-Identifier: Zlib
#pragma once

#include <span>
#include <string>
#include <vector>

namespace varnel::pack {

// What a subcommand does: it gets the arguments after the subcommand's name and returns the exit
// status.
using CommandFunction = int(const std::vector<std::string>& arguments);

// One subcommand: its name, a one-line summary, its help text and what it does.
struct Command {
  const char* name;
  const char* summary;
  const char* help;
  CommandFunction* run;
};

std::span<const Command> AllCommands();

CommandFunction RunList, RunExtract, RunAdd, RunDelete, RunCreate, RunVerify, RunScores, RunResetScores,
    RunMake, RunGenerate, RunPreview, RunPhotos;

}  // namespace varnel::pack
