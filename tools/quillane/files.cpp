#include "tools/quillane/files.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <stdexcept>

#include "exchange/mdlLanguage.h"

namespace quillane::cli {

void WriteOut(const CommandLine& line, const std::string& text) {
  auto out = line.value("out");
  if (!out || *out == kStandardStream) {
    std::cout << text << '\n';
    if (!std::cout.flush()) throw std::runtime_error(mdlLanguage::LoadLangString("无法写入标准输出"));
    return;
  }
  errno = 0;
  std::ofstream file(*out, std::ios::binary | std::ios::trunc);
  file << text;
  if (!file.flush())
    throw std::runtime_error(mdlLanguage::LoadLangString("无法写入文件：") + *out +
                             (errno ? std::string(" (") + std::strerror(errno) + ")" : std::string()));
}

}  // namespace quillane::cli
