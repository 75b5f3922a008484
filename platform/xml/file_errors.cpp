#include "platform/xml/file_errors.h"

#include <cerrno>
#include <cstring>

namespace quillane::xml_detail {

AutomationError FileError(FileErrorNumber number, const std::string& path, const std::string& reason) {
  const char* text = "Device I/O error";
  switch (number) {
    case FileErrorNumber::FileNotFound: text = "File not found"; break;
    case FileErrorNumber::BadFileMode: text = "Bad file mode"; break;
    case FileErrorNumber::DeviceIoError: break;
    case FileErrorNumber::FileAlreadyExists: text = "File already exists"; break;
    case FileErrorNumber::PermissionDenied: text = "Permission denied"; break;
    case FileErrorNumber::PathNotFound: text = "Path not found"; break;
  }
  return AutomationError(static_cast<std::int32_t>(number), "Scripting.FileSystemObject", std::string(text) + ": " + path + (reason.empty() ? "" : " (" + reason + ")"));
}

AutomationError FileErrorFromErrno(int error, const std::string& path, FileErrorNumber whenMissing) {
  switch (error) {
    case ENOENT:
    case ENOTDIR: return FileError(whenMissing, path);
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return FileError(FileErrorNumber::PermissionDenied, path);
    case EEXIST: return FileError(FileErrorNumber::FileAlreadyExists, path);
    default: return FileError(FileErrorNumber::DeviceIoError, path, std::strerror(error));
  }
}

}  // namespace quillane::xml_detail
