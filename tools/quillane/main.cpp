// quillane: the command-line caller of "Quillane.clsExpImp". It builds the props string, sets the
// facade's options, calls one member and reports the outcome; the exchange itself is the library's.
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "accountset/accountset.h"
#include "exchange/mdlLanguage.h"
#include "platform/automation/automation.h"
#include "tools/quillane/options.h"
#include "tools/quillane/terminal_dialog.h"

namespace quillane::cli {
namespace {

struct TypeName {
  const char* name;
  std::int32_t lIO;
};
// The data types the library exchanges so far.
constexpr TypeName kTypes[] = {{"department", 6}, {"settle", 22}};

const char* const kUsage =
    "usage: quillane <command> [options]\n"
    "  init <file> [--sample N]          a new account set, empty or with N sample records per class\n"
    "  export --db FILE --type T [--per-count N] [--since STAMP] [--out FILE] | --bulk FILE\n"
    "  import --db FILE --type T (--in FILE | --bulk FILE)\n"
    "  keys export --db FILE --type T [--per-count N] [--since STAMP] [--out FILE]\n"
    "  keys import --db FILE --type T --in FILE\n"
    "options: --props STRING (instead of --db), --user ID (default 16), --lang LANG, --filter SQL,\n"
    "         --check-uuid, --add-new-only, --help,\n"
    "         --interactive (conflicts of numbers asked on the terminal)\n"
    "types: department, settle\n";

std::int32_t NumberOf(const CommandLine& line, const std::string& name, std::int32_t fallback) {
  auto text = line.value(name);
  if (!text) return fallback;
  std::int32_t number = 0;
  auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), number);
  if (ec != std::errc() || end != text->data() + text->size() || number < 0)
    throw std::runtime_error(mdlLanguage::LoadLangString("选项的值不是非负整数：") + "--" + name + " " + *text);
  return number;
}

std::int32_t TypeOf(const CommandLine& line) {
  auto name = line.value("type");
  if (!name) throw std::runtime_error(mdlLanguage::LoadLangString("缺少选项 --type"));
  for (const auto& t : kTypes)
    if (*name == t.name) return t.lIO;
  throw std::runtime_error(mdlLanguage::LoadLangString("未知的数据类型：") + *name);
}

std::string PropsOf(const CommandLine& line) {
  if (auto props = line.value("props")) return *props;
  auto db = line.value("db");
  if (!db) throw std::runtime_error(mdlLanguage::LoadLangString("缺少选项 --db 或 --props"));
  return "ConnectString={" + accountset::ConnectString(*db) + "};UserID=" + line.value("user").value_or("16") +
         ";AcctType=GY";
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(mdlLanguage::LoadLangString("无法读取文件：") + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

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

ObjectRef MakeFacade(const CommandLine& line) {
  ObjectRef facade = CreateObject("Quillane.clsExpImp");
  if (auto filter = line.value("filter")) facade->Let("Filter", *filter);
  facade->Let("CheckByUUID", line.flag("check-uuid"));
  facade->Let("AddNewOnly", line.flag("add-new-only"));
  if (line.flag("interactive")) {
    erp::SetDialogHost(MakeTerminalDialogHost());
    facade->Let("HaveInterFace", true);
  }
  bool terminal = isatty(STDERR_FILENO);
  facade->Let("bProgress", terminal);
  if (terminal) {
    facade->Advise([](std::string_view event, DispId, Arguments args) {
      if (event != "Progress" && event != "SAXProgress") return;
      std::fprintf(stderr, "\r%s %d/%d", std::string(event).c_str(), CLng(args[0]), CLng(args[1]));
      if (CLng(args[0]) >= CLng(args[1])) std::fputc('\n', stderr);
    });
  }
  return facade;
}

// Calls a member whose last by-reference argument is strError; a False result is an error.
void CallOrFail(const ObjectRef& facade, const char* member, std::vector<Variant>& args, std::size_t errorAt) {
  bool ok = CBool(facade->Call(member, args));
  std::string error = CStr(args[errorAt]);
  if (!ok) throw std::runtime_error(error.empty() ? mdlLanguage::LoadLangString("操作失败：") + member : error);
  if (!error.empty()) std::cerr << error << '\n';
}

int Init(const CommandLine& line) {
  if (line.words.size() != 2) throw std::runtime_error(mdlLanguage::LoadLangString("init 需要一个文件名"));
  if (line.value("sample"))
    accountset::CreateSample(line.words[1], NumberOf(line, "sample", 0));
  else
    accountset::CreateEmpty(line.words[1]);
  return 0;
}

int Export(const CommandLine& line, bool keys) {
  std::string props = PropsOf(line);
  std::int32_t lIO = TypeOf(line);
  std::int32_t perCount = NumberOf(line, "per-count", 100);
  ObjectRef facade = MakeFacade(line);
  std::string since = line.value("since").value_or("");
  if (auto bulk = line.value("bulk"); bulk && !keys) {
    std::vector<Variant> args{props, lIO, *bulk, perCount, since, std::string(), std::string()};
    CallOrFail(facade, "ExportPreIOToFile", args, 6);
    std::cerr << "next stamp: " << CStr(args[4]) << "\nhighest stamp: " << CStr(args[5]) << '\n';
    return 0;
  }
  std::vector<Variant> args{props, lIO, std::string(), perCount, since, std::string(), std::string()};
  CallOrFail(facade, keys ? "ExportXMLDataKey" : "Export", args, 6);
  WriteOut(line, CStr(args[2]));
  std::cerr << "next stamp: " << CStr(args[4]) << "\nhighest stamp: " << CStr(args[5]) << '\n';
  return 0;
}

int Import(const CommandLine& line, bool keys) {
  std::string props = PropsOf(line);
  std::int32_t lIO = TypeOf(line);
  ObjectRef facade = MakeFacade(line);
  if (auto bulk = line.value("bulk"); bulk && !keys) {
    std::vector<Variant> args{props, lIO, *bulk, std::int32_t{100}, std::string()};
    CallOrFail(facade, "ImportPreIOFromFile", args, 4);
  } else {
    auto in = line.value("in");
    if (!in) throw std::runtime_error(mdlLanguage::LoadLangString(keys ? "缺少选项 --in" : "缺少选项 --in 或 --bulk"));
    std::string xml = ReadFile(*in);
    if (keys) {
      std::vector<Variant> args{props, lIO, xml, std::string()};
      CallOrFail(facade, "ImportXMLDataKey", args, 3);
    } else {
      std::vector<Variant> args{props, lIO, xml, std::string(), Variant()};
      CallOrFail(facade, "Import", args, 3);
    }
  }
  std::int32_t failed = CLng(facade->Get("ErrorCount"));
  std::cerr << "failed records: " << failed << '\n';
  return failed == 0 ? 0 : 2;
}

int Run(int argc, char** argv) {
  // The language first, so that errors of the command line itself are in it.
  for (int i = 1; i + 1 < argc; ++i)
    if (std::string_view(argv[i]) == "--lang") setenv("QUILLANE_LANGUAGE", argv[i + 1], 1);
  CommandLine line = Parse(argc, argv,
                           {"sample", "db", "props", "type", "per-count", "since", "out", "bulk", "in", "filter",
                            "user", "lang"},
                           {"check-uuid", "add-new-only", "interactive", "help"});
  if (line.flag("help") || line.words.empty()) {
    std::cout << kUsage;
    return line.words.empty() && !line.flag("help") ? 1 : 0;
  }
  const std::string& command = line.words[0];
  if (command == "init") return Init(line);
  if (command == "export") return Export(line, false);
  if (command == "import") return Import(line, false);
  if (command == "keys" && line.words.size() > 1) {
    if (line.words[1] == "export") return Export(line, true);
    if (line.words[1] == "import") return Import(line, true);
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
