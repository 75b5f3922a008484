#include "tools/quillane/facade.h"

#include <stdexcept>
#include <string>

#include "exchange/mdlLanguage.h"
#include "tools/quillane/report.h"
#include "tools/quillane/terminal_dialog.h"

namespace quillane::cli {

ObjectRef MakeFacade(const CommandLine& line) {
  ObjectRef facade = CreateObject("Quillane.clsExpImp");
  if (auto filter = line.value("filter")) facade->Let("Filter", *filter);
  facade->Let("CheckByUUID", line.flag("check-uuid"));
  facade->Let("AddNewOnly", line.flag("add-new-only"));
  if (line.flag("interactive")) {
    erp::SetDialogHost(MakeTerminalDialogHost());
    facade->Let("HaveInterFace", true);
  }
  facade->Let("bProgress", true);
  return facade;
}

void CallOrFail(const ObjectRef& facade, const char* member, std::vector<Variant>& args, std::size_t errorAt) {
  bool ok = CBool(facade->Call(member, args));
  std::string error = CStr(args[errorAt]);
  if (!ok) throw std::runtime_error(error.empty() ? mdlLanguage::LoadLangString("操作失败：") + member : error);
  PrintErrors(error);
}

}  // namespace quillane::cli
