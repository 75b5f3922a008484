// A temporary file that belongs to one call: it lives in a directory of its own, made with a fresh name
// that only the running user can enter, so that neither another user nor a second caller at the same
// moment can read it, replace it or write the same file. The directory and everything in it are
// removed when the object ends, whatever way the call ends.
#pragma once

#include <string>

namespace quillane::standalone {

class PrivateTempFile {
 public:
  // Makes the directory; the file itself (named fileName inside it) is not created. Raises an
  // automation error when the directory cannot be made.
  explicit PrivateTempFile(const std::string& fileName);
  ~PrivateTempFile();
  PrivateTempFile(const PrivateTempFile&) = delete;
  PrivateTempFile& operator=(const PrivateTempFile&) = delete;

  const std::string& path() const { return path_; }

 private:
  std::string directory_;
  std::string path_;
};

}  // namespace quillane::standalone
