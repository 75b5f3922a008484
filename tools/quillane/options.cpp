#include "tools/quillane/options.h"

#include <charconv>
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

std::int32_t NumberOption(const CommandLine& line, const std::string& name, std::int32_t fallback) {
  auto text = line.value(name);
  if (!text) return fallback;
  std::int32_t number = 0;
  auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), number);
  if (ec != std::errc() || end != text->data() + text->size() || number < 0)
    throw std::runtime_error(mdlLanguage::LoadLangString("选项的值不是非负整数：") + "--" + name + " " + *text);
  return number;
}

}  // namespace quillane::cli
