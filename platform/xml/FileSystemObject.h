// "Scripting.FileSystemObject": the file operations the library needs, with the scripting runtime's error
// numbers (53 file not found, 58 file already exists, 70 permission denied, 76 path not found); every
// error's description names the file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/automation/object.h"
#include "platform/xml/TextStream.h"

namespace quillane {

// A file that exists, as GetFile gives it.
class File : public AutomationObject {
 public:
  explicit File(std::string path) : path_(std::move(path)) {}
  const std::string& Path() const { return path_; }
  // The size in bytes now; raises error 53 when the file has gone.
  std::uintmax_t Size() const;

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "File"; }

 private:
  std::string path_;
};

class FileSystemObject : public AutomationObject {
 public:
  // True for an existing file (not a folder).
  bool FileExists(const std::string& path) const;
  // Deletes the file; without force a read-only file raises error 70. A missing file raises error 53.
  void DeleteFile(const std::string& path, bool force = false) const;
  // Creates the file, or truncates it when overwrite is True (an existing file raises error 58 otherwise).
  std::shared_ptr<TextStream> CreateTextFile(const std::string& path, bool overwrite = false,
                                             bool unicode = false) const;
  // The existing file; raises error 53 when there is none.
  std::shared_ptr<File> GetFile(const std::string& path) const;

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "FileSystemObject"; }
};

}  // namespace quillane
