#include "tools/quillane/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <vector>

#include "exchange/mdlLanguage.h"

namespace quillane::cli {
namespace {

using mdlLanguage::LoadLangString;

// The temporary file an interrupt must remove; the handler may only read it, so it is a fixed buffer
// set while no signal can arrive in between (the program writes one file at a time).
char pendingPath[4096];
volatile std::sig_atomic_t havePending = 0;

extern "C" void RemovePendingAndDie(int signalNumber) {
  if (havePending) ::unlink(pendingPath);
  std::signal(signalNumber, SIG_DFL);
  std::raise(signalNumber);
}

void WatchForInterrupts() {
  static const bool installed = [] {
    for (int s : {SIGINT, SIGTERM, SIGHUP}) std::signal(s, RemovePendingAndDie);
    return true;
  }();
  (void)installed;
}

[[noreturn]] void CannotWrite(const std::string& path) {
  throw std::runtime_error(LoadLangString("无法写入文件：") + path + " (" + std::strerror(errno) + ")");
}

}  // namespace

ReplacingFile::ReplacingFile(std::string target) : target_(std::move(target)) {
  std::error_code ec;
  if (std::filesystem::exists(target_, ec) && !std::filesystem::is_regular_file(target_, ec)) {
    path_ = target_;
    return;
  }
  const std::filesystem::path targetPath(target_);
  std::string pattern = (targetPath.parent_path() / ("." + targetPath.filename().string() + ".XXXXXX")).string();
  if (pattern.size() >= sizeof pendingPath) throw std::runtime_error(LoadLangString("无法写入文件：") + target_);
  WatchForInterrupts();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  // The path is in place before the file exists, so an interrupt in between leaves nothing behind.
  std::memcpy(pendingPath, name.data(), name.size());
  havePending = 1;
  const int fd = ::mkstemp(pendingPath);
  if (fd < 0) {
    havePending = 0;
    CannotWrite(target_);
  }
  // The file gets the mode a new file of the user's gets, not mkstemp's private one.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  ::close(fd);
  path_ = pendingPath;
  pending_ = true;
}

ReplacingFile::~ReplacingFile() {
  if (!pending_) return;
  havePending = 0;
  ::unlink(path_.c_str());
}

void ReplacingFile::Keep() {
  if (!pending_) return;
  const int fd = ::open(path_.c_str(), O_RDONLY);
  const bool synced = fd >= 0 && ::fsync(fd) == 0;
  if (fd >= 0) ::close(fd);
  if (!synced || ::rename(path_.c_str(), target_.c_str()) != 0) CannotWrite(target_);
  pending_ = false;
  havePending = 0;
}

void WriteOut(const CommandLine& line, const std::string& text) {
  auto out = line.value("out");
  if (!out || *out == kStandardStream) {
    std::cout << text << '\n';
    if (!std::cout.flush()) throw std::runtime_error(mdlLanguage::LoadLangString("无法写入标准输出"));
    return;
  }
  errno = 0;
  ReplacingFile file(*out);
  {
    std::ofstream stream(file.Path(), std::ios::binary | std::ios::trunc);
    stream << text;
    if (!stream.flush()) CannotWrite(*out);
  }
  file.Keep();
}

}  // namespace quillane::cli
