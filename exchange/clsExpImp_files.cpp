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
#include "platform/xml/DOMDocument.h"
#include "platform/xml/DOMNode.h"
#include "platform/xml/FileSystemObject.h"
#include "platform/xml/TrzRecords.h"

namespace quillane {

namespace {

constexpr const char* kSource = "Tarnwick.clsExpImp";
constexpr std::string_view kRootEnd = "</Root>";

// The kind of data the class exchange is told it writes.
std::int32_t ClassExchangeKind(std::int32_t lIO) {
  if ((lIO >= 1 && lIO <= 4) || lIO == 19 || lIO == 22 || lIO == 24) return 3;
  if (lIO == 20) return 5;
  if ((lIO >= 5 && lIO <= 18) || lIO == 21 || lIO == 23) return 4;
  return 0;
}

[[noreturn]] void RefusePage(const std::string& detail) {
  throw AutomationError(kLibraryRefusal, kSource,
                        mdlLanguage::LoadLangString("导出的页面不是以</Root>结尾的完整文档:") + detail);
}

// The first page is written without its closing tag, so that the records of later pages can follow
// inside its Root. A page of no records comes with its Root closed in itself and is opened instead;
// any other ending would make the file malformed and is refused before anything is written.
std::string OpenRoot(const std::string& page, DOMDocument& document) {
  if (page.ends_with(kRootEnd)) return page.substr(0, page.size() - kRootEnd.size());
  if (page.ends_with("/>") && document.loadXML(page) && document.documentElement()->nodeName() == "Root" &&
      document.documentElement()->childNodes()->length() == 0)
    return page.substr(0, page.size() - 2) + ">";
  RefusePage(Left(page, 200));
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
  auto document = std::make_shared<DOMDocument>();
  FileSystemObject files;
  if (files.FileExists(strFile)) files.DeleteFile(strFile, true);
  m_lErrorCount = 0;

  std::shared_ptr<TextStream> file;
  bool ok;
  try {
    // A page that does not move the time stamp on would be followed by the same page for ever.
    std::string previousStamp;
    do {
      previousStamp = strTimeStamp;
      std::string page;
      ok = Export(strPropsString, lIO, page, lPerCount, strTimeStamp, strMaxTimeStamp, strError);
      if (!ok) break;
      if (!file) {
        std::string head = OpenRoot(page, *document);
        file = files.CreateTextFile(strFile, true, true);
        file->Write(head);
      } else {
        if (!document->loadXML(page)) RefusePage(document->parseError()->reason());
        std::shared_ptr<DOMNodeList> records = document->documentElement()->childNodes();
        for (std::int32_t i = 0; i < records->length(); ++i) {
          file->Write(records->item(i)->xml());
          YieldToMessageLoop();
        }
      }
    } while (strTimeStamp < strMaxTimeStamp && strTimeStamp != previousStamp);
  } catch (...) {
    // A file cut off in the middle is no document: it goes, and the error says why.
    if (file) {
      file->Close();
      files.DeleteFile(strFile, true);
    }
    throw;
  }
  if (file) {
    file->Write(std::string(kRootEnd));
    file->Close();
  }
  return ok;
}

}  // namespace quillane
