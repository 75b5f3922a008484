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
  bool given(const std::string& name) const { return values.contains(name) || flags.contains(name); }
};

// Options that take a value; every other "--name" is a flag. Throws std::runtime_error on an unknown
// option, a missing value or an option given twice.
CommandLine Parse(int argc, char** argv, const std::set<std::string>& valueOptions,
                  const std::set<std::string>& flagOptions);

// Refuses (std::runtime_error naming the option and the command) every option given that is not in
// `honoured`, the options the command's road carries out.
void RefuseOptionsBut(const CommandLine& line, const std::set<std::string>& honoured, const std::string& command);
// Refuses a command line whose words are more than the command's own `count` (command, sub-command,
// file), naming the first stray word.
void RefuseStrayWords(const CommandLine& line, std::size_t count);

// The value of --name as a non-negative whole number, fallback when it is not given. Throws
// std::runtime_error naming the option when the value is anything else or above 2147483647.
std::int32_t NumberOption(const CommandLine& line, const std::string& name, std::int32_t fallback);

}  // namespace quillane::cli
