// quillane: the command-line caller of "Quillane.clsExpImp". It builds the props string, sets the
// facade's options, calls one member and reports the outcome; the exchange itself is the library's.
#include <iostream>
#include <stdexcept>
#include <string>

#include "exchange/mdlLanguage.h"
#include "platform/automation/automation.h"
#include "tools/quillane/commands.h"
#include "tools/quillane/language.h"
#include "tools/quillane/options.h"
#include "tools/quillane/roads.h"
#include "tools/quillane/usage.h"

namespace quillane::cli {
namespace {

int Run(int argc, char** argv) {
  // The language first, so that errors of the command line itself are in it; an unknown one is refused
  // in the language the program would speak without it.
  ChooseLanguage(argc, argv);
  CommandLine line = Parse(argc, argv,
                           {"sample", "db", "props", "type", "per-count", "since", "out", "bulk", "in", "filter",
                            "user", "lang", "acct-type", "system-type", "class"},
                           {"check-uuid", "add-new-only", "interactive", "help", "version"});
  if (auto lang = line.value("lang"); lang && !KnownLanguage(lang->c_str()))
    throw std::runtime_error(mdlLanguage::LoadLangString("未知的语言（可用 chs、en、cht）：") + *lang);
  if (line.flag("version")) {
    std::cout << "quillane " << QUILLANE_VERSION << '\n';
    return 0;
  }
  if (line.flag("help") || line.words.empty()) {
    std::cout << Usage();
    return line.words.empty() && !line.flag("help") ? 1 : 0;
  }
  CheckRoad(line);
  const std::string& command = line.words[0];
  if (command == "init") return Init(line);
  if (command == "export") return Export(line, false);
  if (command == "import") return Import(line);
  if (command == "keys" && line.words.size() > 1) {
    if (line.words[1] == "export") return Export(line, true);
    if (line.words[1] == "import") return ImportKeys(line);
  }
  throw std::runtime_error(mdlLanguage::LoadLangString("未知的命令：") + command);
}

}  // namespace
}  // namespace quillane::cli

int main(int argc, char** argv) {
  try {
    return quillane::cli::Run(argc, argv);
  } catch (const quillane::AutomationError& e) {
    std::cerr << "quillane: " << e.description << '\n';
  } catch (const std::exception& e) {
    std::cerr << "quillane: " << e.what() << '\n';
  }
  return 1;
}
