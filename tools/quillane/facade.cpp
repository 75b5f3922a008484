#include "tools/quillane/facade.h"

#include <stdexcept>
#include <string>

#include "exchange/mdlLanguage.h"
#include "tools/quillane/report.h"
#include "tools/quillane/terminal_dialog.h"

namespace quillane::cli {

namespace {

ObjectRef MakeCaller(const char* progID, const CommandLine& line) {
  ObjectRef caller = CreateObject(progID);
  if (auto filter = line.value("filter")) caller->Let("Filter", *filter);
  caller->Let("CheckByUUID", line.flag("check-uuid"));
  caller->Let("AddNewOnly", line.flag("add-new-only"));
  if (line.flag("interactive")) {
    erp::SetDialogHost(MakeTerminalDialogHost());
    caller->Let("HaveInterFace", true);
  }
  caller->Let("bProgress", true);
  return caller;
}

}  // namespace

ObjectRef MakeFacade(const CommandLine& line) { return MakeCaller("Quillane.clsExpImp", line); }

ObjectRef MakeItemClasses(const CommandLine& line) { return MakeCaller("Quillane.clsItemClass", line); }

std::string FailureText(const std::string& error, const char* member) {
  return error.empty() ? mdlLanguage::LoadLangString("操作失败：") + member : error;
}

void CallOrFail(const ObjectRef& facade, const char* member, std::vector<Variant>& args, std::size_t errorAt) {
  bool ok = CBool(facade->Call(member, args));
  std::string error = CStr(args[errorAt]);
  if (!ok) throw std::runtime_error(FailureText(error, member));
  PrintErrors(error);
}

}  // namespace quillane::cli
