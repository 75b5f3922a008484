#include "tools/quillane/files.h"

#include <sys/stat.h>

#include <csignal>
#include <iostream>
#include <stdexcept>

#include "exchange/mdlLanguage.h"
#include "exchange/modFunction_connection.h"
#include "platform/xml/output_file.h"

namespace quillane::cli {
namespace {

extern "C" void RemoveUnkeptAndDie(int signalNumber) {
  OutputFile::RemoveUnkept();
  std::signal(signalNumber, SIG_DFL);
  std::raise(signalNumber);
}

}  // namespace

void RemoveUnkeptFilesOnInterrupt() {
  for (int s : {SIGINT, SIGTERM, SIGHUP}) std::signal(s, RemoveUnkeptAndDie);
}

void WriteOut(const CommandLine& line, const std::string& text) {
  auto out = line.value("out");
  if (!out || *out == kStandardStream) {
    std::cout << text << '\n';
    if (!std::cout.flush()) throw std::runtime_error(mdlLanguage::LoadLangString("无法写入标准输出"));
    return;
  }
  modFunction::RefuseAccountSetAsOutput(*out);
  OutputFile file(*out);
  file.Write(text);
  file.Keep();
}

FileChange::FileChange(const std::string& path) : path_(path) {
  struct stat now {};
  existed_ = ::stat(path.c_str(), &now) == 0;
  device_ = now.st_dev;
  inode_ = now.st_ino;
}

bool FileChange::Replaced() const {
  struct stat now {};
  if (::stat(path_.c_str(), &now) != 0) return false;
  // A pipe or a device is written where it is.
  return !existed_ || !S_ISREG(now.st_mode) || now.st_dev != device_ || now.st_ino != inode_;
}

}  // namespace quillane::cli
