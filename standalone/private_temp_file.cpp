#include "standalone/private_temp_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/automation/errors.h"

namespace quillane::standalone {

PrivateTempFile::PrivateTempFile(const std::string& fileName) {
  std::error_code ec;
  std::filesystem::path base = std::filesystem::temp_directory_path(ec);
  if (ec) base = "/tmp";
  std::string pattern = (base / "quillane-XXXXXX").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  // mkdtemp makes the directory with mode 0700 and fails rather than reuse an existing name.
  if (!mkdtemp(name.data()))
    throw AutomationError(kLibraryRefusal, "Quillane.clsAuxProp",
                          "Cannot create a temporary directory in " + base.string() + ": " + std::strerror(errno));
  directory_ = name.data();
  path_ = (std::filesystem::path(directory_) / fileName).string();
}

PrivateTempFile::~PrivateTempFile() {
  std::error_code ignored;  // cleaning up must not hide what ended the call
  std::filesystem::remove_all(directory_, ignored);
}

}  // namespace quillane::standalone
