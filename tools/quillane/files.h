// The program's output: a page on standard output or in the file --out names. The files an export
// writes replace their targets only once they are whole (platform/xml/output_file.h).
#pragma once

#include <string>

#include "tools/quillane/options.h"

namespace quillane::cli {

// The name that stands for standard output (--out) or standard input (--in).
inline constexpr const char* kStandardStream = "-";

// From now on an interrupt (SIGINT, SIGTERM, SIGHUP) removes the temporary file of an export not yet
// whole before the program ends, so that the old file stays as it was and nothing lies beside it.
void RemoveUnkeptFilesOnInterrupt();

// text into the file named by --out, or onto standard output with a line break when --out is missing
// or "-". Raises, naming the file and the system's reason, when it cannot be written, and refuses a
// file that is the account set the last call read.
void WriteOut(const CommandLine& line, const std::string& text);

// Whether the file at path is another file than it was when the object was made: one an export wrote
// there, rather than the old one it left as it was.
class FileChange {
 public:
  explicit FileChange(const std::string& path);
  bool Replaced() const;

 private:
  std::string path_;
  bool existed_ = false;
  unsigned long long device_ = 0, inode_ = 0;
};

}  // namespace quillane::cli
