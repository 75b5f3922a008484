#include "tools/quillane/options.h"

#include <charconv>
#include <limits>
#include <stdexcept>

#include "exchange/mdlLanguage.h"

namespace quillane::cli {

using mdlLanguage::LoadLangString;

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
    if (!flagOptions.contains(name) && !valueOptions.contains(name))
      throw std::runtime_error(LoadLangString("未知的选项：") + arg);
    // A second value would silently replace the first.
    if (line.given(name)) throw std::runtime_error(LoadLangString("选项只能给一次：") + arg);
    if (flagOptions.contains(name)) {
      line.flags.insert(name);
    } else {
      if (i + 1 >= argc) throw std::runtime_error(LoadLangString("缺少选项的值：") + arg);
      line.values[name] = argv[++i];
    }
  }
  return line;
}

void RefuseOptionsBut(const CommandLine& line, const std::set<std::string>& honoured, const std::string& command) {
  auto refuse = [&](const std::string& name) {
    if (!honoured.contains(name))
      throw std::runtime_error(LoadLangString("选项不适用于这个命令：") + "--" + name + " (" + command + ")");
  };
  for (const auto& [name, value] : line.values) refuse(name);
  for (const std::string& name : line.flags) refuse(name);
}

void RefuseStrayWords(const CommandLine& line, std::size_t count) {
  if (line.words.size() > count) throw std::runtime_error(LoadLangString("多余的参数：") + line.words[count]);
}

std::int32_t NumberOption(const CommandLine& line, const std::string& name, std::int32_t fallback) {
  auto text = line.value(name);
  if (!text) return fallback;
  std::int64_t number = 0;
  auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), number);
  const bool whole = end == text->data() + text->size() && !text->empty();
  if (whole && (ec == std::errc::result_out_of_range || number > std::numeric_limits<std::int32_t>::max()))
    throw std::runtime_error(LoadLangString("选项的值太大（最大 2147483647）：") + "--" + name + " " + *text);
  if (ec != std::errc() || !whole || number < 0)
    throw std::runtime_error(LoadLangString("选项的值不是非负整数：") + "--" + name + " " + *text);
  return static_cast<std::int32_t>(number);
}

}  // namespace quillane::cli
