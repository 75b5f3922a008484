// The facade's bulk files: every page of a data type stitched into one file, and such a file read back
// whole or in batches.
#include <filesystem>
#include <memory>
#include <vector>

#include "exchange/clsExpImp.h"
#include "exchange/clsSAXParse.h"
#include "exchange/mdlLanguage.h"
#include "exchange/modFunction.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"
#include "platform/erp/class_exchange.h"
#include "platform/sql/read_session.h"
#include "platform/automation/yield.h"
#include "platform/xml/DOMDocument.h"
#include "platform/xml/DOMNode.h"
#include "platform/xml/FileSystemObject.h"
#include "platform/xml/SAXXMLReader.h"
#include "platform/xml/record_batch.h"
#include "platform/xml/stitched_file.h"
#include "platform/xml/TrzRecord.h"
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

// A bulk file needs a props string and the user's right; the refusals are texts, not raised errors.
bool clsExpImp::MayMoveFile(const std::string& strPropsString, std::int32_t lIO, std::int32_t lMask,
                            std::string& strError) {
  if (strPropsString.empty()) {
    strError = mdlLanguage::LoadLangString("连接数据库字串不正确!");
    return false;
  }
  if (!CheckObjectRight(strPropsString, lIO, lMask)) {
    strError = mdlLanguage::LoadLangString("没有权限！");
    return false;
  }
  return true;
}

bool clsExpImp::ExportPreIOToFile(std::string strPropsString, std::int32_t lIO, std::string& strFile,
                                  std::int32_t lPerCount, std::string& strTimeStamp, std::string& strMaxTimeStamp,
                                  std::string& strError) {
  // One connection for every page of the file, closed when the call is done.
  sql::ReadSession session;
  if (!MayMoveFile(strPropsString, lIO, kExportRight, strError)) return false;
  m_bCancelled = false;
  modFunction::RefuseAccountSetAsOutput(strFile);
  std::int32_t lItemClassID = GetItemClassID(lIO);
  const bool exported =
      lItemClassID >= 1
          ? ExportByClassExchange(strPropsString, lIO, lItemClassID, strFile, strTimeStamp, strMaxTimeStamp)
          : ExportPages(strPropsString, lIO, strFile, lPerCount, strTimeStamp, strMaxTimeStamp, strError);
  return !EndedByCancel(strError) && exported;
}

// A cancelled bulk file holds the records up to the cancel, well-formed; the result says it is not
// the whole type, and the text says why, as a cancelled bulk import's does.
bool clsExpImp::EndedByCancel(std::string& strError) const {
  if (!m_bCancelled) return false;
  const AutomationError cancel(kLibraryRefusal, kSource, mdlLanguage::LoadLangString("导出过程中被用户取消！"));
  const std::string told = modFunction::FormatErrInfo(cancel, "");
  // The auxiliary properties' one page is a file of custom classes exported through this facade: that
  // nested export has told the cancel already.
  if (strError.find(told) == std::string::npos) strError += (strError.empty() ? "" : "\r\n") + told;
  return true;
}

bool clsExpImp::ExportByClassExchange(const std::string& strPropsString, std::int32_t lIO, std::int32_t lItemClassID,
                                      const std::string& strFile, const std::string& strTimeStamp,
                                      std::string& strMaxTimeStamp) {
  // One object for this call only: its sink goes with it. The caller's filter travels in the first of
  // the two texts that are otherwise empty, so that this road honours it as the page export does.
  ObjectRef exchange = modFunction::CreateObjectEx(erp::kClassExchangeProgID, "", true);
  exchange->Advise([this](std::string_view event, DispId, Arguments args) { RelayEvent(true, event, args); });
  std::vector<Variant> args{Variant(strPropsString),
                            Variant(lItemClassID),
                            Variant(lItemClassID),
                            Variant(m_strFilter),
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
  } while (!m_bCancelled && strTimeStamp < strMaxTimeStamp && strTimeStamp != previousStamp);
  file.Finish();
  return ok;
}

namespace {

// Below this size a file is loaded whole; from it on it is cut into batches.

// The class exchange reports its errors as a data vector of texts, the first entry of vectRecords.
void AppendClassExchangeErrors(const TrzRecords& vectRecords, std::string& strError) {
  if (vectRecords.Count() == 0) return;
  const ObjectRef* texts = vectRecords.Items().front().tryAs<ObjectRef>();
  auto lines = texts ? std::dynamic_pointer_cast<TrzRecords>(*texts) : nullptr;
  if (!lines) return;
  for (const Variant& line : *lines) strError += CStr(line) + "\r\n";
}

}  // namespace

bool clsExpImp::ImportPreIOFromFile(std::string strPropsString, std::int32_t lIO, std::string& strFile,
                                    std::int32_t, std::string& strError) {
  try {
    // The class exchange reads the file itself, with the caller's class and options; no right is asked here.
    if (const std::int32_t lItemClassID = GetItemClassID(lIO); lItemClassID >= 1)
      return ImportByClassExchange(strPropsString, lItemClassID, strFile, strError);
    if (!MayMoveFile(strPropsString, lIO, kImportRight, strError)) return false;
    setErrorCount(0);
    if (ReadWhole(strFile)) return ImportWholeFile(strPropsString, lIO, strFile, strError);
    auto splitter = std::make_shared<clsSAXParse>();
    splitter->strPropsString = strPropsString;
    splitter->lIO = lIO;
    return ImportBySAX(splitter, strFile, strError, nullptr);
  } catch (const AutomationError& e) {
    strError = modFunction::FormatErrInfo(e, "");
    return false;
  }
}

bool clsExpImp::ImportByClassExchange(const std::string& strPropsString, std::int32_t lItemClassID,
                                      const std::string& strFile, std::string& strError) {
  ObjectRef exchange = modFunction::CreateObjectEx(erp::kClassExchangeProgID, "", true);
  exchange->Advise([this](std::string_view event, DispId, Arguments args) { RelayEvent(true, event, args); });
  auto vectRecords = std::make_shared<TrzRecords>();
  // The record that is otherwise null carries what the caller set, so that a file imports as its
  // pages would: of the class the caller means only, with the caller's options.
  auto options = std::make_shared<TrzRecord>();
  options->SetValue("ItemClassID", lItemClassID);
  options->SetValue("HaveInterFace", m_bHaveInterFace);
  options->SetValue("AddNewOnly", m_bAddNewOnly);
  options->SetValue("CheckByUUID", m_bCheckByUUID);
  std::vector<Variant> args{Variant(strPropsString),
                            Variant(std::int32_t{5}),
                            Variant(strFile),
                            Variant(""),
                            Variant(ObjectRef(options)),
                            Variant(ObjectRef(vectRecords)),
                            Variant(std::int32_t{0}),
                            Variant(std::int32_t{0}),
                            Variant(std::int32_t{0}),
                            Variant(std::int32_t{0}),
                            Variant(ObjectRef()),
                            Variant(std::int32_t{0}),
                            Variant(std::int32_t{0}),
                            Variant(std::int32_t{0}),
                            Variant(std::int32_t{0})};
  exchange->Call("ImportFromFile", args);
  // The failed records, so that a caller can tell "some records failed" from "the file failed", and
  // what every batch did with its records.
  setErrorCount(CLng(args[6]));
  if (const ObjectRef* batches = args[7].tryAs<ObjectRef>())
    if (auto counts = std::dynamic_pointer_cast<TrzRecords>(*batches))
      for (const Variant& batch : *counts)
        if (auto record = batch.objectAs<TrzRecord>()) m_counts.Add(modFunction::ImportCounts::FromRecord(*record));
  if (const ObjectRef* records = args[5].tryAs<ObjectRef>())
    if (auto returned = std::dynamic_pointer_cast<TrzRecords>(*records)) AppendClassExchangeErrors(*returned, strError);
  // Text the caller left in strError counts as a failure too.
  return strError.empty();
}

bool clsExpImp::ReadWhole(const std::string& strFile) {
  std::error_code ec;
  if (std::filesystem::exists(strFile, ec) && !std::filesystem::is_regular_file(strFile, ec)) return false;
  return FileSystemObject().GetFile(strFile)->Size() < kWholeFileLimit;
}

bool clsExpImp::ImportWholeFile(const std::string& strPropsString, std::int32_t lIO, const std::string& strFile,
                                std::string& strError) {
  DOMDocument document;
  if (!document.load(strFile)) {
    // An empty document handed on would only be refused with a text that does not name the file.
    strError = mdlLanguage::LoadLangString("导入文件不是格式正确的XML文档:") + strFile + " " +
               document.parseError()->reason();
    return false;
  }
  return Import(strPropsString, lIO, document.xml(), strError, Variant(std::int16_t{1}));
}

bool clsExpImp::ImportBySAX(const std::shared_ptr<clsSAXParse>& splitter, const std::string& strFile,
                            std::string& strError, const ObjectRef& classes) {
  splitter->setPerCount(kSAXBatchSize);
  // The error text of a batch that a storage fault stopped: the file stops with it.
  std::string stoppedBatch;
  m_counts.stoppedBy.clear();
  splitter->Advise([this, &splitter = *splitter, &classes, &stoppedBatch](std::string_view event, DispId,
                                                                          Arguments args) {
    if (event == "HandleXML") {
      std::string batchError = CStr(args[1]);
      oSAXParse_HandleXML(splitter, classes, CStr(args[0]), batchError);
      args[1] = Variant(batchError);
      if (!m_counts.stoppedBy.empty()) {
        stoppedBatch = batchError;
        throw AutomationError(kLibraryRefusal, "Quillane.clsExpImp", m_counts.stoppedBy);
      }
    } else if (event == "RecordFailed") {
      CountFailedAlone();
    } else if (event == "Progress") {
      // Only the caller's answer travels back to the splitter.
      args[2] = Variant(false);
      RaiseEvent("SAXProgress", kSAXProgress, args);
      YieldToMessageLoop();
    }
  });
  std::string stop;
  bool stopped = false;
  try {
    SAXXMLReader reader;
    reader.putContentHandler(splitter);
    reader.putErrorHandler(splitter);
    reader.parseURL(strFile);
  } catch (const ForeignFileRefusal& e) {
    stopped = true;
    stop = e.description;
  } catch (const AutomationError& e) {
    // The batches imported before the parse stopped keep their error lines.
    stopped = true;
    stop = stoppedBatch.empty() ? modFunction::FormatErrInfo(e, "") : stoppedBatch;
  }
  strError = splitter->strError + stop;
  return !stopped && strError.empty();
}

// A record that no import counts: the splitter refused it, or its batch's import refused it alone. It is
// one record read, as the per-type imports tell each of theirs, and one failed.
void clsExpImp::CountFailedAlone() {
  AddErrors(1);
  ++m_counts.failed;
  std::int32_t lCur = 1, lTotal = 1;
  bool bCancel = false;
  RaiseEventWith("Progress", kProgress, lCur, lTotal, bCancel);
  YieldToMessageLoop();
}

void clsExpImp::oSAXParse_HandleXML(const clsSAXParse& splitter, const ObjectRef& classes, std::string strXML,
                                    std::string& strError) {
  auto importDocument = [&](const std::string& document) {
    const modFunction::ImportCounts before = m_counts;
    const std::int32_t failedClasses = m_lFailedClasses;
    DocumentOutcome outcome;
    if (splitter.bCustom)
      outcome.ok = ImportCustomDocument(classes, splitter.strPropsString, document, outcome.error);
    else
      outcome.ok = ImportRecords(splitter.strPropsString, splitter.lIO, document, outcome.error, Variant(std::int16_t{1}));
    // A class record that failed on its own is a record of the document handled too.
    outcome.handledRecords = !m_lastImportTold || m_lFailedClasses != failedClasses || m_counts.imported != before.imported ||
                             m_counts.failed != before.failed || m_counts.SkippedTotal() != before.SkippedTotal();
    outcome.stopped = !m_counts.stoppedBy.empty();
    return outcome;
  };
  const std::string header = splitter.BatchHeader(), footer = splitter.BatchFooter();
  strError = ImportBatch(
      strXML, splitter.Batch(), {splitter.BatchRecords(), header, footer}, importDocument,
      [&](const std::string& name, const std::string& error) {
        CountFailedAlone();
        return error + " (" + mdlLanguage::LoadLangString("出错的记录：") + name + ")";
      });
}

}  // namespace quillane
