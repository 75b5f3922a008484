#include "tools/quillane/options.h"

#include <stdexcept>

#include "exchange/mdlLanguage.h"

namespace quillane::cli {

std::optional<std::string> CommandLine::value(const std::string& name) const {
  auto it = values.find(name);
  if (it == values.end()) return std::nullopt;
  return it->second;
}

CommandLine Parse(int argc, char** argv, const std::set<std::string>& valueOptions,
                  const std::set<std::string>& flagOptions) {
  CommandLine line;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (!arg.starts_with("--")) {
      line.words.push_back(arg);
      continue;
    }
    std::string name = arg.substr(2);
    if (flagOptions.contains(name)) {
      line.flags.insert(name);
    } else if (valueOptions.contains(name)) {
      if (i + 1 >= argc) throw std::runtime_error(mdlLanguage::LoadLangString("缺少选项的值：") + arg);
      line.values[name] = argv[++i];
    } else {
      throw std::runtime_error(mdlLanguage::LoadLangString("未知的选项：") + arg);
    }
  }
  return line;
}

}  // namespace quillane::cli
