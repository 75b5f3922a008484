#include <stdexcept>

#include "accountset/accountset.h"
#include "exchange/mdlLanguage.h"
#include "tools/quillane/commands.h"

namespace quillane::cli {

int Init(const CommandLine& line) {
  if (line.words.size() != 2) throw std::runtime_error(mdlLanguage::LoadLangString("init 需要一个文件名"));
  if (line.value("sample"))
    accountset::CreateSample(line.words[1], NumberOption(line, "sample", 0));
  else
    accountset::CreateEmpty(line.words[1]);
  return 0;
}

}  // namespace quillane::cli
