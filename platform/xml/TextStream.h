// A text file opened for writing by the file system object.
#pragma once

#include <cstdio>
#include <string>

#include "platform/automation/object.h"

namespace quillane {

class TextStream : public AutomationObject {
 public:
  // Creates the file at path; an existing one is truncated with overwrite, else raises error 58. A
  // Unicode stream starts with the UTF-16 LE byte-order mark. Raises error 76 (path not found), 70
  // (permission denied) or 57, naming the file, when it cannot be created.
  TextStream(const std::string& path, bool overwrite, bool unicode);
  ~TextStream() override;
  TextStream(const TextStream&) = delete;
  TextStream& operator=(const TextStream&) = delete;

  // Appends the text: UTF-16 LE in a Unicode stream, UTF-8 otherwise. Raises error 54 after Close and
  // error 57 when the file cannot be written.
  void Write(const std::string& text);
  // Writes what is buffered and closes the file; raises error 57 when that fails. A second Close does
  // nothing.
  void Close();

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "TextStream"; }

 private:
  void put(const void* data, std::size_t size);

  std::string path_;
  bool unicode_;
  std::FILE* file_ = nullptr;
};

}  // namespace quillane
