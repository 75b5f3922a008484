#include "platform/xml/FileSystemObject.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/automation/factory.h"
#include "platform/xml/file_errors.h"

namespace quillane {

using xml_detail::FileError;
using xml_detail::FileErrorNumber;

std::uintmax_t File::Size() const {
  std::error_code ec;
  std::uintmax_t size = std::filesystem::file_size(path_, ec);
  if (ec) throw xml_detail::FileErrorFromErrno(ec.value(), path_, FileErrorNumber::FileNotFound);
  return size;
}

const DispatchTable& File::dispatchTable() const {
  static const DispatchTable table =
      DispatchBuilder<File>()
          .raw("Size", 1, InvokeKind::Get,
               [](File& f, Arguments) {
                 std::uintmax_t size = f.Size();
                 // A Long while it fits, as the scripting runtime gives it; a Double beyond 2 GB.
                 return size <= 0x7FFFFFFF ? Variant(static_cast<std::int32_t>(size))
                                           : Variant(static_cast<double>(size));
               })
          .raw("Path", 2, InvokeKind::Get, [](File& f, Arguments) { return Variant(f.Path()); })
          .build();
  return table;
}

bool FileSystemObject::FileExists(const std::string& path) const {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

void FileSystemObject::DeleteFile(const std::string& path, bool force) const {
  if (!FileExists(path)) throw FileError(FileErrorNumber::FileNotFound, path);
  if (!force && ::access(path.c_str(), W_OK) != 0) throw FileError(FileErrorNumber::PermissionDenied, path);
  if (std::remove(path.c_str()) != 0) throw xml_detail::FileErrorFromErrno(errno, path, FileErrorNumber::FileNotFound);
}

std::shared_ptr<TextStream> FileSystemObject::CreateTextFile(const std::string& path, bool overwrite,
                                                             bool unicode) const {
  return std::make_shared<TextStream>(path, overwrite, unicode);
}

std::shared_ptr<File> FileSystemObject::GetFile(const std::string& path) const {
  if (!FileExists(path)) throw FileError(FileErrorNumber::FileNotFound, path);
  return std::make_shared<File>(path);
}

const DispatchTable& FileSystemObject::dispatchTable() const {
  static const DispatchTable table =
      DispatchBuilder<FileSystemObject>()
          .method("FileExists", 1, &FileSystemObject::FileExists)
          .method("DeleteFile", 2, &FileSystemObject::DeleteFile, {Variant(false)})
          .method("CreateTextFile", 3, &FileSystemObject::CreateTextFile, {Variant(false), Variant(false)})
          .method("GetFile", 4, &FileSystemObject::GetFile)
          .build();
  return table;
}

QUILLANE_REGISTER_CLASS("Scripting.FileSystemObject", FileSystemObject)

}  // namespace quillane
