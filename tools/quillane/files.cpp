#include "tools/quillane/files.h"

#include <fstream>
#include <iostream>
#include <stdexcept>

#include "exchange/mdlLanguage.h"

namespace quillane::cli {

void WriteOut(const CommandLine& line, const std::string& text) {
  auto out = line.value("out");
  if (!out) {
    std::cout << text << '\n';
    return;
  }
  std::ofstream file(*out, std::ios::binary | std::ios::trunc);
  file << text;
  if (!file.flush()) throw std::runtime_error(mdlLanguage::LoadLangString("无法写入文件：") + *out);
}

}  // namespace quillane::cli
