#include "platform/registry/registry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <utility>

#include "platform/automation/errors.h"
#include "platform/automation/module.h"
#include "platform/registry/registry_document.h"

namespace quillane::registry {
namespace {

AutomationError FileError(const std::string& path, const std::string& what) {
  return AutomationError(kRegistryFileError, kRegistrySource, "Registry file \"" + path + "\": " + what);
}

std::string ErrnoText() { return std::strerror(errno); }

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

RegistryDocument Load(const std::string& path) {
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    if (errno == ENOENT) return {};
    throw FileError(path, "cannot be read: " + ErrnoText());
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) throw FileError(path, "cannot be read: " + ErrnoText());
  if (!S_ISREG(st.st_mode)) throw FileError(path, "is not a file");

  std::string text;
  char buffer[8192];
  for (;;) {
    ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw FileError(path, "cannot be read: " + ErrnoText());
    }
    if (n == 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  try {
    return RegistryDocument::Parse(text);
  } catch (const RegistrySyntaxError& e) {
    throw FileError(path, "malformed at line " + std::to_string(e.line) + ": " + e.what());
  }
}

void WriteAll(int fd, const std::string& text, const std::string& path) {
  const char* data = text.data();
  std::size_t left = text.size();
  while (left > 0) {
    ssize_t n = ::write(fd, data, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw FileError(path, "cannot be written: " + ErrnoText());
    }
    data += n;
    left -= static_cast<std::size_t>(n);
  }
}

// Writes the new text to a temporary file beside the old one and renames it over it, so that the file
// is always either the old text or the new one, also when the process dies in between.
void Store(const std::string& path, const std::string& text) {
  // Through a symbolic link the rename must replace the file it points at, not the link.
  std::error_code ec;
  std::filesystem::path target = std::filesystem::canonical(path, ec);
  if (ec) target = path;

  std::string temporary = target.string() + ".tmp-XXXXXX";
  FileDescriptor fd(::mkstemp(temporary.data()));
  if (fd.get() < 0) throw FileError(path, "cannot be written (no temporary file beside it): " + ErrnoText());
  try {
    struct stat st {};
    ::fchmod(fd.get(), ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644);
    WriteAll(fd.get(), text, path);
    if (::fsync(fd.get()) != 0 || ::close(fd.release()) != 0)
      throw FileError(path, "cannot be written: " + ErrnoText());
    if (::rename(temporary.c_str(), target.c_str()) != 0) throw FileError(path, "cannot be replaced: " + ErrnoText());
  } catch (...) {
    ::unlink(temporary.c_str());
    throw;
  }
  // Make the rename itself durable.
  FileDescriptor folder(::open(target.parent_path().empty() ? "." : target.parent_path().c_str(),
                               O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() >= 0) ::fsync(folder.get());
}

}  // namespace

std::string RegistryFilePath() {
  const char* configured = std::getenv("QUILLANE_REGISTRY");
  if (configured && *configured) return configured;
  return DataFolder() + "/registry.ini";
}

std::optional<std::string> ReadValue(std::string_view keyPath, std::string_view valueName) {
  return Load(RegistryFilePath()).Find(keyPath, valueName);
}

std::string ReadValue(std::string_view keyPath, std::string_view valueName, std::string_view fallback) {
  return ReadValue(keyPath, valueName).value_or(std::string(fallback));
}

bool KeyExists(std::string_view keyPath) { return Load(RegistryFilePath()).HasKey(keyPath); }

void WriteValue(std::string_view keyPath, std::string_view valueName, std::string_view value) {
  std::string path = RegistryFilePath();
  RegistryDocument doc = Load(path);
  try {
    doc.Set(keyPath, valueName, value);
  } catch (const std::invalid_argument& e) {
    throw AutomationError(static_cast<std::int32_t>(VbError::InvalidProcedureCall), kRegistrySource, e.what());
  }
  Store(path, doc.Render());
}

void DeleteKey(std::string_view keyPath) {
  std::string path = RegistryFilePath();
  RegistryDocument doc = Load(path);
  if (doc.Remove(keyPath)) Store(path, doc.Render());
}

}  // namespace quillane::registry
