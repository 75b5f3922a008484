// The facade's bulk export: every page of a data type stitched into one file.
#include <memory>
#include <vector>

#include "exchange/clsExpImp.h"
#include "exchange/mdlLanguage.h"
#include "exchange/modFunction.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"
#include "platform/erp/class_exchange.h"
#include "platform/automation/yield.h"
#include "platform/xml/stitched_file.h"
#include "platform/xml/TrzRecords.h"

namespace quillane {

namespace {

constexpr const char* kSource = "Tarnwick.clsExpImp";

// The kind of data the class exchange is told it writes.
std::int32_t ClassExchangeKind(std::int32_t lIO) {
  if ((lIO >= 1 && lIO <= 4) || lIO == 19 || lIO == 22 || lIO == 24) return 3;
  if (lIO == 20) return 5;
  if ((lIO >= 5 && lIO <= 18) || lIO == 21 || lIO == 23) return 4;
  return 0;
}

AutomationError RefusePage(const std::string& detail) {
  return AutomationError(kLibraryRefusal, kSource,
                         mdlLanguage::LoadLangString("导出的页面不是以</Root>结尾的完整文档:") + detail);
}

}  // namespace

bool clsExpImp::ExportPreIOToFile(std::string strPropsString, std::int32_t lIO, std::string& strFile,
                                  std::int32_t lPerCount, std::string& strTimeStamp, std::string& strMaxTimeStamp,
                                  std::string& strError) {
  if (strPropsString.empty()) {
    strError = mdlLanguage::LoadLangString("连接数据库字串不正确!");
    return false;
  }
  if (!CheckObjectRight(strPropsString, lIO, kExportRight)) {
    strError = mdlLanguage::LoadLangString("没有权限！");
    return false;
  }
  std::int32_t lItemClassID = GetItemClassID(lIO);
  if (lItemClassID >= 1)
    return ExportByClassExchange(strPropsString, lIO, lItemClassID, strFile, strTimeStamp, strMaxTimeStamp);
  return ExportPages(strPropsString, lIO, strFile, lPerCount, strTimeStamp, strMaxTimeStamp, strError);
}

bool clsExpImp::ExportByClassExchange(const std::string& strPropsString, std::int32_t lIO, std::int32_t lItemClassID,
                                      const std::string& strFile, const std::string& strTimeStamp,
                                      std::string& strMaxTimeStamp) {
  // One object for this call only: its sink goes with it.
  ObjectRef exchange = modFunction::CreateObjectEx(erp::kClassExchangeProgID, "", true);
  exchange->Advise([this](std::string_view event, DispId, Arguments args) { RelayEvent(true, event, args); });
  std::vector<Variant> args{Variant(strPropsString),
                            Variant(lItemClassID),
                            Variant(lItemClassID),
                            Variant(""),
                            Variant(""),
                            Variant(ClassExchangeKind(lIO)),
                            Variant(""),
                            Variant(std::int32_t{5}),
                            Variant(strFile),
                            Variant(std::int32_t{0}),
                            Variant(std::int32_t{0}),
                            Variant(strTimeStamp),
                            Variant(strMaxTimeStamp),
                            Variant(std::make_shared<TrzRecords>()),
                            Variant(ObjectRef())};
  bool result = CBool(exchange->Call("ExportToFile", args));
  strMaxTimeStamp = CStr(args[12]);
  return result;
}

bool clsExpImp::ExportPages(const std::string& strPropsString, std::int32_t lIO, const std::string& strFile,
                            std::int32_t lPerCount, std::string& strTimeStamp, std::string& strMaxTimeStamp,
                            std::string& strError) {
  strMaxTimeStamp.clear();
  strError.clear();
  StitchedFile file(strFile, RefusePage);
  m_lErrorCount = 0;

  bool ok;
  // A page that does not move the time stamp on would be followed by the same page for ever.
  std::string previousStamp;
  do {
    previousStamp = strTimeStamp;
    std::string page;
    ok = Export(strPropsString, lIO, page, lPerCount, strTimeStamp, strMaxTimeStamp, strError);
    if (!ok) break;
    file.AddPage(page, YieldToMessageLoop);
  } while (strTimeStamp < strMaxTimeStamp && strTimeStamp != previousStamp);
  file.Finish();
  return ok;
}

}  // namespace quillane
