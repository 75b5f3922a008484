// The command line of the quillane program: a command word, then "--name value" options and flags.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace quillane::cli {

struct CommandLine {
  std::vector<std::string> words;  // the command (and sub-command) and positional arguments
  std::map<std::string, std::string> values;
  std::set<std::string> flags;

  std::optional<std::string> value(const std::string& name) const;
  bool flag(const std::string& name) const { return flags.contains(name); }
};

// Options that take a value; every other "--name" is a flag. Throws std::runtime_error on an unknown
// option or a missing value.
CommandLine Parse(int argc, char** argv, const std::set<std::string>& valueOptions,
                  const std::set<std::string>& flagOptions);

// The value of --name as a non-negative whole number, fallback when it is not given. Throws
// std::runtime_error naming the option when the value is anything else.
std::int32_t NumberOption(const CommandLine& line, const std::string& name, std::int32_t fallback);

}  // namespace quillane::cli
