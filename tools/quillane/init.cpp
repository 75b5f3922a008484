#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "accountset/accountset.h"
#include "exchange/mdlLanguage.h"
#include "tools/quillane/commands.h"
#include "tools/quillane/counts.h"
#include "tools/quillane/props.h"

namespace quillane::cli {

int Init(const CommandLine& line) {
  if (line.words.size() != 2) throw std::runtime_error(mdlLanguage::LoadLangString("init 需要一个文件名"));
  const std::string& path = line.words[1];
  // Read first: a kind that is none is refused whether or not a sample is asked for.
  const accountset::Kind kind = KindOf(line);
  // The engine would refuse it too, in its own words.
  std::error_code ec;
  if (std::filesystem::symlink_status(path, ec).type() != std::filesystem::file_type::not_found)
    throw std::runtime_error(mdlLanguage::LoadLangString("文件已经存在：") + path);
  if (line.value("sample"))
    accountset::CreateSample(path, NumberOption(line, "sample", 0), kind);
  else
    accountset::CreateEmpty(path);
  auto counts = RecordsPerClass(path);
  std::cout << mdlLanguage::LoadLangString(counts.empty() ? "已建立空账套：" : "已建立账套：") << path << '\n';
  for (const auto& [name, records] : counts) std::cout << "  " << name << ": " << records << '\n';
  return 0;
}

}  // namespace quillane::cli
