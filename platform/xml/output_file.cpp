#include "platform/xml/output_file.h"

#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/automation/errors.h"
#include "platform/automation/vbtext.h"
#include "platform/xml/component_text.h"
#include "platform/xml/file_errors.h"

namespace quillane {
namespace {

// The temporary files a signal handler must remove. A handler may only read memory that is there
// already, so the names lie in fixed slots, each free, being filled or listed. A process writes a few
// files at a time; a file that finds no free slot is still removed by its object, only not by a handler.
struct PendingSlot {
  std::atomic<int> state{0};
  char path[PATH_MAX];
};
constexpr int kFree = 0, kFilling = 1, kListed = 2;
static_assert(std::atomic<int>::is_always_lock_free);
PendingSlot pending[16];

int List(const std::string& path) {
  if (path.size() >= PATH_MAX) return -1;
  for (int i = 0; i < static_cast<int>(std::size(pending)); ++i) {
    int expected = kFree;
    if (!pending[i].state.compare_exchange_strong(expected, kFilling)) continue;
    std::memcpy(pending[i].path, path.c_str(), path.size() + 1);
    pending[i].state.store(kListed);
    return i;
  }
  return -1;
}

void Unlist(int& slot) {
  if (slot >= 0) pending[slot].state.store(kFree);
  slot = -1;
}

// The file a chain of symlinks ends at; a link that names no file yet ends the chain at the file it
// names, which the export then makes. A loop is left at a link, which opening then refuses (ELOOP).
std::filesystem::path FollowLinks(std::filesystem::path path) {
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(path, ec)) return path;
    std::filesystem::path next = std::filesystem::read_symlink(path, ec);
    if (ec) return path;
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return path;
}

std::string RandomSuffix() {
  static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char bytes[6] = {};
  if (::getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bytes)) {
    // Without the kernel's randomness the name only has to differ from its neighbours; O_EXCL decides.
    static std::atomic<unsigned> counter{0};
    const unsigned seed = static_cast<unsigned>(::getpid()) * 2654435761u + counter++;
    for (std::size_t i = 0; i < sizeof bytes; ++i) bytes[i] = static_cast<unsigned char>(seed >> (i * 5));
  }
  std::string suffix;
  for (unsigned char b : bytes) suffix += kLetters[b % (sizeof kLetters - 1)];
  return suffix;
}

// A new file of the user's, created exclusively and listed for the signal handlers with no signal in
// between: an interrupt can neither leave it behind unlisted nor remove a file of another's.
int CreateListed(const std::string& path, int& slot) {
  sigset_t all, previous;
  sigfillset(&all);
  pthread_sigmask(SIG_BLOCK, &all, &previous);
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  const int error = errno;
  if (fd >= 0) slot = List(path);
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  errno = error;
  return fd;
}

}  // namespace

OutputFile::OutputFile(std::string target, Encoding encoding) : target_(std::move(target)), encoding_(encoding) {
  const std::filesystem::path written = FollowLinks(target_);
  written_ = written.string();
  struct stat existing {};
  const bool exists = ::stat(written_.c_str(), &existing) == 0;
  if (exists && !S_ISREG(existing.st_mode)) {
    file_ = std::fopen(written_.c_str(), "wb");
    if (!file_) fail(errno);
  } else {
    const std::string base = (written.parent_path() / ("." + written.filename().string() + ".")).string();
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
      temporary_ = base + RandomSuffix();
      fd = CreateListed(temporary_, slot_);
      if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
      const int error = errno;
      temporary_.clear();
      fail(error);
    }
    // The target's mode goes with its content; a new file has the mode the umask gave it at open.
    if (exists && ::fchmod(fd, existing.st_mode & 07777) != 0) {
      const int error = errno;
      ::close(fd);
      fail(error);
    }
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
      const int error = errno;
      ::close(fd);
      fail(error);
    }
  }
  if (encoding_ == Encoding::Utf16Le && std::fwrite("\xFF\xFE", 1, 2, file_) != 2) fail(errno);
}

OutputFile::~OutputFile() { discard(); }

void OutputFile::Write(std::string_view text) {
  if (!file_) fail(EBADF);
  if (encoding_ == Encoding::Utf16Le) {
    const std::vector<std::uint8_t> bytes = Utf8ToUtf16Le(text);
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) fail(errno);
  } else if (!text.empty() && std::fwrite(text.data(), 1, text.size(), file_) != text.size()) {
    fail(errno);
  }
}

void OutputFile::Keep() {
  if (!file_) fail(EBADF);
  if (std::fflush(file_) != 0) fail(errno);
  // A pipe or a device has nothing to make durable, and refuses to be asked.
  if (!temporary_.empty() && ::fsync(::fileno(file_)) != 0) fail(errno);
  std::FILE* file = file_;
  file_ = nullptr;
  if (std::fclose(file) != 0) fail(errno);
  if (temporary_.empty()) return;
  if (::rename(temporary_.c_str(), written_.c_str()) != 0) fail(errno);
  Unlist(slot_);
  temporary_.clear();
}

void OutputFile::RemoveUnkept() noexcept {
  for (PendingSlot& slot : pending)
    if (slot.state.load() == kListed) ::unlink(slot.path);
}

void OutputFile::fail(int error) {
  discard();
  AutomationError e = xml_detail::FileErrorFromErrno(error, target_, xml_detail::FileErrorNumber::PathNotFound);
  e.description = ComponentText("无法写入文件：") + target_ + " (" + std::strerror(error) + ")";
  throw e;
}

void OutputFile::discard() noexcept {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  if (temporary_.empty()) return;
  Unlist(slot_);
  ::unlink(temporary_.c_str());
  temporary_.clear();
}

void RefuseAccountSetAsOutput(const std::string& target, const std::string& accountSet) {
  if (accountSet.empty()) return;
  // The engine's files beside the account set come and go with its connections: one that is not
  // there now is still refused by its name.
  std::error_code ec;
  const std::filesystem::path named = std::filesystem::weakly_canonical(std::filesystem::absolute(target, ec), ec);
  const std::filesystem::path set = std::filesystem::weakly_canonical(std::filesystem::absolute(accountSet, ec), ec);
  struct stat output {};
  const bool exists = ::stat(target.c_str(), &output) == 0;
  for (const char* companion : {"", "-wal", "-shm", "-journal"}) {
    const std::string file = accountSet + companion;
    struct stat found {};
    const bool same = exists ? ::stat(file.c_str(), &found) == 0 && found.st_dev == output.st_dev &&
                                   found.st_ino == output.st_ino
                             : !set.empty() && named == set.string() + companion;
    if (same) throw AutomationError(kLibraryRefusal, "Quillane", ComponentText("输出文件就是账套的文件，未写入：") + target);
  }
}

}  // namespace quillane
