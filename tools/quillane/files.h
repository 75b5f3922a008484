// The program's output: a page on standard output or in the file --out names, and the files an export
// writes, which replace their targets only once they are whole.
#pragma once

#include <string>

#include "tools/quillane/options.h"

namespace quillane::cli {

// The name that stands for standard output (--out) or standard input (--in).
inline constexpr const char* kStandardStream = "-";

// A file written beside its target under a temporary name and renamed over the target once Keep is
// called: an export that fails, throws or is interrupted (SIGINT, SIGTERM, SIGHUP) leaves the old file
// as it was and removes the temporary one. A target that exists and is no regular file (a pipe, a
// device) is written directly, having nothing to keep.
class ReplacingFile {
 public:
  explicit ReplacingFile(std::string target);
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Where the writer writes.
  const std::string& Path() const { return path_; }
  // Makes what was written durable and puts it in the target's place. Throws std::runtime_error when
  // it cannot (the temporary file is then removed).
  void Keep();

 private:
  std::string target_;
  std::string path_;
  bool pending_ = false;  // a temporary file of ours lies beside the target
};

// text into the file named by --out, or onto standard output with a line break when --out is missing
// or "-". Throws std::runtime_error naming the file and the system's reason when it cannot be written.
void WriteOut(const CommandLine& line, const std::string& text);

}  // namespace quillane::cli
