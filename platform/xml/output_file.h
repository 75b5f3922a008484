// The files an export writes: a bulk file, a class-exchange file, a page or a file of deletion keys.
// Each is written whole under a temporary name beside its target and renamed over the target once
// kept, so that an export that fails, throws or is interrupted leaves the old file as it was. The file
// put in the target's place keeps what the user gave the target: its mode (a new file gets the mode
// the user's umask gives any new file), and a symlink stays a symlink, the file it names replaced.
// Messages name the target as the user gave it, never the temporary name, in the user's language.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace quillane {

class OutputFile {
 public:
  enum class Encoding {
    Bytes,    // the text is written as it is
    Utf16Le,  // the text (UTF-8) is written as UTF-16 LE after a byte-order mark, as bulk files are
  };

  // Makes the temporary file beside the file target names (through any symlinks). A target that
  // exists and is no regular file (a pipe, a device) is written directly, having nothing to keep.
  // Raises an automation error naming target when the file cannot be made.
  explicit OutputFile(std::string target, Encoding encoding = Encoding::Bytes);
  // A file that was not kept is removed.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  const std::string& Target() const { return target_; }
  // Appends text; raises an automation error naming the target when it cannot be written.
  void Write(std::string_view text);
  // Makes what was written durable and puts it in the target's place; raises as Write does (the
  // temporary file is then removed, the target left as it was).
  void Keep();

  // Removes every temporary file of this process not yet kept. Async-signal-safe: for a host's handler
  // of SIGINT or SIGTERM, which then ends the process.
  static void RemoveUnkept() noexcept;

 private:
  [[noreturn]] void fail(int error);
  void discard() noexcept;

  std::string target_;     // as the user gave it: what messages name
  std::string written_;    // the file it names, its symlinks followed: what is replaced
  std::string temporary_;  // empty when the target is written directly
  Encoding encoding_;
  std::FILE* file_ = nullptr;
  int slot_ = -1;  // where RemoveUnkept finds the temporary file; -1 when it is not listed there
};

// Raises an automation error (in the user's language, naming target) when target, through any symlink
// or by another name of the same file, is the account set in the file accountSet or one of the files
// beside it that the database engine keeps (its log, its shared memory, its journal): an export written
// there would destroy the account set it reads. A target that does not exist is never one of them.
void RefuseAccountSetAsOutput(const std::string& target, const std::string& accountSet);

}  // namespace quillane
