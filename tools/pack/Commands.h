#pragma once

#include <string>
#include <vector>

namespace varnel::pack {

// One subcommand: its name, a one-line summary, its help text and what it does. run gets the
// arguments after the subcommand's name and returns the exit status.
struct Command {
  const char* name;
  const char* summary;
  const char* help;
  int (*run)(const std::vector<std::string>& arguments);
};

const std::vector<Command>& AllCommands();

int RunList(const std::vector<std::string>& arguments);
int RunExtract(const std::vector<std::string>& arguments);
int RunAdd(const std::vector<std::string>& arguments);
int RunDelete(const std::vector<std::string>& arguments);
int RunCreate(const std::vector<std::string>& arguments);
int RunVerify(const std::vector<std::string>& arguments);
int RunScores(const std::vector<std::string>& arguments);
int RunResetScores(const std::vector<std::string>& arguments);
int RunMake(const std::vector<std::string>& arguments);
int RunGenerate(const std::vector<std::string>& arguments);
int RunPreview(const std::vector<std::string>& arguments);
int RunPhotos(const std::vector<std::string>& arguments);

}  // namespace varnel::pack
