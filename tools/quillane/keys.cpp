#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "exchange/clsDataKey.h"
#include "exchange/mdlLanguage.h"
#include "platform/xml/DOMDocument.h"
#include "tools/quillane/commands.h"
#include "tools/quillane/data_types.h"
#include "tools/quillane/documents.h"
#include "tools/quillane/facade.h"
#include "tools/quillane/props.h"
#include "tools/quillane/report.h"

namespace quillane::cli {
namespace {

using mdlLanguage::LoadLangString;

// The number of keys in the page; refuses a key whose Remark names another data type, which would
// delete nothing here and still succeed.
std::int32_t KeysOfType(const std::string& page, std::int32_t lIO, const std::string& path) {
  DOMDocument document;
  document.loadXML(page);
  auto keys = document.documentElement()->selectNodes("/Root/Delete");
  const std::string expected = DataKeyCaption(lIO);
  if (expected.empty()) return keys->length();
  for (std::int32_t i = 0; i < keys->length(); ++i) {
    auto remark = keys->item(i)->selectNodes("Remark");
    if (remark->length() == 0) continue;
    const std::string caption = remark->item(0)->text();
    if (caption != expected)
      throw std::runtime_error(path + ": " + LoadLangString("删除关键字属于另一个数据类型：") + caption + " (" +
                               LoadLangString("应为：") + expected + ")");
  }
  return keys->length();
}

}  // namespace

int ImportKeys(const CommandLine& line) {
  std::string props = PropsOf(line);
  std::int32_t lIO = DataTypeOf(line);
  auto in = line.value("in");
  if (!in) throw std::runtime_error(LoadLangString("缺少选项 --in"));
  const std::string page = ReadPage(*in);
  const std::int32_t keys = KeysOfType(page, lIO, *in);
  std::vector<Variant> args{props, lIO, page, std::string()};
  ObjectRef facade = MakeFacade(line);
  const bool ok = CBool(facade->Call("ImportXMLDataKey", args));
  const std::string error = CStr(args[3]);
  const std::int32_t failed = CLng(facade->Get("ErrorCount"));
  PrintErrors(ok ? error : FailureText(error, "ImportXMLDataKey"));
  // A key whose record this account set lacks deletes nothing and is no failure. Keys that failed one
  // by one leave the others done; a call that failed as a whole did none.
  std::cerr << "keys read: " << keys << '\n';
  if (ok || failed > 0) std::cerr << "keys imported: " << keys - failed << "\nkeys failed: " << failed << '\n';
  if (ok) return 0;
  return failed > 0 ? 2 : 1;
}

}  // namespace quillane::cli
