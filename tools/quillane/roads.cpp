#include "tools/quillane/roads.h"

#include <stdexcept>
#include <string>

#include "exchange/mdlLanguage.h"
#include "tools/quillane/files.h"

namespace quillane::cli {
namespace {

using mdlLanguage::LoadLangString;
using Options = std::set<std::string>;

// Every road that reads an account set: where it is and who asks. --props replaces the options it is
// built from (only the messages' --lang stays the program's own).
Options Caller(const CommandLine& line, Options road) {
  road.insert({"type", "lang"});
  if (line.given("props"))
    road.insert("props");
  else
    road.insert({"db", "user", "acct-type"});
  return road;
}

struct Road {
  std::string name;  // as the messages name it ("export --bulk")
  Options options;
  std::size_t words;  // the command's own words
};

Road RoadOf(const CommandLine& line) {
  const std::string& command = line.words[0];
  const bool keys = command == "keys";
  const std::string sub = keys && line.words.size() > 1 ? line.words[1] : "";
  const bool bulk = line.given("bulk");
  if (command == "init") return {"init", {"sample", "acct-type", "lang"}, 2};
  if (command == "export" && bulk) return {"export --bulk", Caller(line, {"bulk", "per-count", "since", "filter", "class"}), 1};
  if (command == "export") return {"export", Caller(line, {"per-count", "since", "out", "filter", "class"}), 1};
  const Options facadeImport{"check-uuid", "add-new-only", "interactive"};
  // The library imports a bulk file's records with the system type 1, always: no --system-type.
  if (command == "import" && bulk) {
    Options options = Caller(line, facadeImport);
    options.insert("bulk");
    return {"import --bulk", options, 1};
  }
  if (command == "import") {
    Options options = Caller(line, facadeImport);
    options.insert({"in", "system-type"});
    return {"import", options, 1};
  }
  if (sub == "export") return {"keys export", Caller(line, {"per-count", "since", "out"}), 2};
  if (sub == "import") return {"keys import", Caller(line, {"in"}), 2};
  return {command, {}, 0};  // an unknown command: main names it
}

}  // namespace

void CheckRoad(const CommandLine& line) {
  const Road road = RoadOf(line);
  if (road.words == 0) return;
  RefuseStrayWords(line, road.words);
  // The library writes and reads a bulk file by its name, in pieces.
  if (line.value("bulk") == kStandardStream) throw std::runtime_error(LoadLangString("批量文件需要文件名，不能是 -"));
  if (line.given("in") && line.given("bulk"))
    throw std::runtime_error(LoadLangString("选项 --in 和 --bulk 只能用一个"));
  RefuseOptionsBut(line, road.options, road.name);
  // The names of custom item classes mean nothing to another type, nor to an import, whose file names them.
  if (auto type = line.value("type"); type && *type != "custom" && line.given("class"))
    throw std::runtime_error(LoadLangString("选项 --class 只用于 --type custom"));
}

}  // namespace quillane::cli
