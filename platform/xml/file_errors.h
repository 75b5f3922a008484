// The scripting runtime's file errors, each description naming the file.
#pragma once

#include <cstdint>
#include <string>

#include "platform/automation/errors.h"

namespace quillane::xml_detail {

enum class FileErrorNumber : std::int32_t {
  FileNotFound = 53,
  BadFileMode = 54,
  DeviceIoError = 57,
  FileAlreadyExists = 58,
  PermissionDenied = 70,
  PathNotFound = 76,
};

// The error, its description naming the file and, when given, the system's reason.
AutomationError FileError(FileErrorNumber number, const std::string& path, const std::string& reason = {});
// The error for a system call on the file that failed with `error` (an errno value); a missing file or
// folder gives `whenMissing`, a fault of the device (a full disk...) names the system's reason.
AutomationError FileErrorFromErrno(int error, const std::string& path, FileErrorNumber whenMissing);

}  // namespace quillane::xml_detail
