// The facade's bulk files of custom item classes: every permitted class exported page by page through
// clsItemClass into one file, and such a file imported back through it.
#include <algorithm>
#include <functional>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "exchange/MParse.h"
#include "exchange/clsExpImp.h"
#include "exchange/clsSAXParse.h"
#include "exchange/custom_class_import.h"
#include "exchange/mdlLanguage.h"
#include "exchange/modFunction.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"
#include "platform/automation/yield.h"
#include "platform/sql/read_session.h"
#include "platform/xml/DOMDocument.h"
#include "platform/xml/DOMNode.h"
#include "platform/xml/output_file.h"

namespace quillane {

namespace {

constexpr const char* kSource = "Tarnwick.clsExpImp";
constexpr std::string_view kPageEnd = "</ItemClass></Root>";
constexpr std::string_view kClassEnd = "</ItemClass>";
constexpr std::string_view kRootEnd = "</Root>";
constexpr const char* kStartTimeStamp = "0x0000000000000000";
// Smaller files are loaded whole; larger ones go through the SAX splitter.

AutomationError RefusePage(const std::string& detail) {
  return AutomationError(kLibraryRefusal, kSource,
                         mdlLanguage::LoadLangString("导出的页面不是以</ItemClass></Root>结尾的完整文档:") + detail);
}

std::string WithoutSuffix(const std::string& text, std::string_view suffix) {
  if (!text.ends_with(suffix)) throw RefusePage(Left(text, 200));
  return text.substr(0, text.size() - suffix.size());
}

// A bulk file of custom item classes: the first page of the first class as it came, less its closing
// tags; each later class's element without its default namespace; the items of every later page; each
// class closed once it was opened, and Root closed at the end. It replaces what is at its path only
// once finished with a page in it; otherwise what was there stays.
class CustomClassFile {
 public:
  explicit CustomClassFile(std::string path) : file_(std::move(path), OutputFile::Encoding::Utf16Le) {}

  // One page of the current class; everything is checked before any of it is written.
  void AddPage(const std::string& page) {
    if (!started_) {
      std::string head = WithoutSuffix(page, kPageEnd);
      file_.Write(head);
      started_ = classOpen_ = true;
      return;
    }
    DOMDocument document;
    if (!document.loadXML(page)) throw RefusePage(document.parseError()->reason());
    if (!classOpen_) {
      std::shared_ptr<DOMNode> itemClass = document.selectSingleNode("Root/ItemClass");
      if (!itemClass) throw RefusePage(Left(page, 200));
      itemClass->removeAttribute("xmlns");
      file_.Write(WithoutSuffix(itemClass->xml(), kClassEnd));
      classOpen_ = true;
      return;
    }
    auto items = document.selectNodes("Root/ItemClass/Item");
    for (std::int32_t i = 0; i < items->length(); ++i) {
      file_.Write(items->item(i)->xml());
      YieldToMessageLoop();
    }
  }
  // Closes the current class, when one of its pages was written.
  void EndClass() {
    if (!classOpen_) return;
    file_.Write(kClassEnd);
    classOpen_ = false;
  }
  void Finish() {
    if (!started_) return;
    file_.Write(kRootEnd);
    file_.Keep();
  }

 private:
  OutputFile file_;
  bool started_ = false;
  bool classOpen_ = false;
};

struct ItemClassRow {
  std::string name;       // in the user's language: what the caller asks for
  std::string className;  // FName: what the class export looks the class up by
  std::int32_t id;
};

// The item classes with their names in the props string's language, read over a connection of its own
// that is closed again. A class without a name in that language can be asked for by no name: it is
// left out.
std::vector<ItemClassRow> ItemClassesByName() {
  const std::string nameColumn = MParse::ClassNameColumn();
  ObjectRef cn;
  modFunction::OpenConnection(cn);
  std::vector<ItemClassRow> rows;
  try {
    ObjectRef rs = modFunction::GetAnyRecordSet(
        cn, "SELECT " + nameColumn + " as FShownName,FName,FItemClassID FROM t_ItemClass WHERE FItemClassID<>0");
    for (; !modFunction::IsEOF(rs); modFunction::MoveNext(rs)) {
      Variant shown = modFunction::FieldValue(rs, "FShownName"), className = modFunction::FieldValue(rs, "FName");
      if (shown.isNull() || className.isNull()) continue;
      rows.push_back({CStr(shown), CStr(className), CLng(modFunction::FieldValue(rs, "FItemClassID"))});
    }
  } catch (const AutomationError&) {
    modFunction::CallMemberQuietly(cn, "CloseConn");
    throw;
  }
  modFunction::CallMember(cn, "CloseConn");
  return rows;
}

}  // namespace

bool clsExpImp::ExportCustIOToFile(std::string strPropsString, std::string strICName, std::string& strFile,
                                   std::int32_t lPerCount, std::string& strTimeStamp, std::string& strMaxTimeStamp,
                                   std::string& strError) {
  // One connection for every page of every class in the file, closed when the call is done.
  sql::ReadSession session;
  if (strPropsString.empty()) {
    strError = mdlLanguage::LoadLangString("连接数据库字串不正确!");
    return false;
  }
  strMaxTimeStamp.clear();
  strError.clear();
  const std::vector<std::string> requested = Split(strICName, "|");
  MParse::ParseProps(strPropsString);
  modFunction::RefuseAccountSetAsOutput(strFile);

  std::vector<std::string> allowed;
  std::string refused, unknown;
  const std::string separator = mdlLanguage::LoadLangString("、");
  const std::vector<ItemClassRow> named = ItemClassesByName();
  for (const ItemClassRow& row : named) {
    for (const std::string& name : requested) {
      if (name != row.name) continue;
      if (modFunction::HasAccessRight(3, row.id, kExportRight)) allowed.push_back(row.className);
      else refused += separator + row.name;
    }
  }
  // A name that no class bears in the user's language is said, not passed over in silence.
  for (const std::string& name : requested) {
    auto bearsName = [&](const ItemClassRow& row) { return row.name == name; };
    if (!name.empty() && std::none_of(named.begin(), named.end(), bearsName)) unknown += separator + name;
  }
  // What the caller is told at the end: each page's call clears its own error text, and would wipe
  // out the classes left out and the failure of a class before the last.
  std::string notices;
  if (!refused.empty())
    notices = mdlLanguage::LoadLangString("自定义核算项目(") + refused.substr(separator.size()) +
              mdlLanguage::LoadLangString(")没有导出权限！");
  if (!unknown.empty())
    notices += mdlLanguage::LoadLangString("自定义核算项目(") + unknown.substr(separator.size()) +
               mdlLanguage::LoadLangString(")不存在！");
  strError = notices;
  if (allowed.empty()) return false;

  CustomClassFile file(strFile);
  ObjectRef classes = CreateMember(Member::ItemClass);
  classes->Let("bProgress", Variant(m_bProgress));
  classes->Let("Filter", Variant(m_strFilter));

  // The file holds the classes that exported; the result says whether a class asked for is missing
  // from it, except those the user may not export, which are only named.
  bool allExported = unknown.empty();
  // Stamps are unique over the whole account set: every class starts from the caller's stamp, and the
  // highest of all the classes is where the caller's next export starts.
  const std::string since = strTimeStamp.empty() ? std::string(kStartTimeStamp) : strTimeStamp;
  std::string highest = kStartTimeStamp;
  m_bCancelled = false;
  for (const std::string& name : allowed) {
    if (m_bCancelled) break;
    if (name.empty()) continue;
    strTimeStamp = since;
    // A page that does not move the time stamp on would be followed by the same page for ever.
    std::string previousStamp;
    do {
      previousStamp = strTimeStamp;
      std::vector<Variant> args{Variant(strPropsString), Variant(name),         Variant(""),
                                Variant(lPerCount),      Variant(strTimeStamp), Variant(strMaxTimeStamp),
                                Variant("")};
      const bool ok = CBool(classes->Call("Export", args));
      strTimeStamp = CStr(args[4]);
      strMaxTimeStamp = CStr(args[5]);
      if (!ok) {
        allExported = false;
        notices += (notices.empty() ? "" : "\r\n") + CStr(args[6]);
        break;
      }
      highest = std::max(highest, strMaxTimeStamp);
      file.AddPage(CStr(args[2]));
    } while (!m_bCancelled && strTimeStamp < strMaxTimeStamp && strTimeStamp != previousStamp);
    file.EndClass();
  }
  file.Finish();
  strMaxTimeStamp = highest;
  strError = notices;
  return !EndedByCancel(strError) && allExported;
}

bool clsExpImp::ImportCustIOFromFile(std::string strPropsString, std::string strICName, std::string& strFile,
                                     std::int32_t /*lPerCount: batches are always of kSAXBatchSize*/,
                                     std::string& strError) {
  m_lFailedClasses = 0;
  m_customCounts = {};
  try {
    ObjectRef classes = CreateMember(Member::ItemClass);
    classes->Let("bProgress", Variant(m_bProgress));
    classes->Let("AddNewOnly", Variant(m_bAddNewOnly));
    classes->Let("CheckByUUID", Variant(m_bCheckByUUID));
    classes->Let("HaveInterFace", Variant(m_bHaveInterFace));
    if (!ReadWhole(strFile))
      return ImportCustomInBatches(classes, strPropsString, strICName, strFile, strError);

    DOMDocument document;
    if (!document.load(strFile))
      throw AutomationError(kLibraryRefusal, kSource,
                            mdlLanguage::LoadLangString("导入的文件不是完整的XML文档:") +
                                document.parseError()->reason());
    if (std::shared_ptr<DOMNode> root = document.documentElement()) {
      auto elements = root->selectNodes("*");
      for (std::int32_t i = 0; i < elements->length(); ++i) {
        const std::string name = elements->item(i)->nodeName();
        const std::string localName = name.substr(name.find(':') + 1);
        if (localName != "ItemClass") throw ForeignFileRefusal(localName);
      }
    }
    return ImportCustomDocument(classes, strPropsString, document.xml(), strError);
  } catch (const ForeignFileRefusal& e) {
    strError = e.description;
    return false;
  } catch (const AutomationError& e) {
    strError = modFunction::FormatErrInfo(e, "");
    return false;
  }
}

bool clsExpImp::ImportCustomInBatches(const ObjectRef& classes, const std::string& strPropsString,
                                      const std::string& strICName, const std::string& strFile,
                                      std::string& strError) {
  auto splitter = std::make_shared<clsSAXParse>();
  splitter->bCustom = true;
  splitter->strPropsString = strPropsString;
  splitter->strICName = strICName;
  if (auto* batches = dynamic_cast<CustomClassImportTally*>(classes.get())) batches->TakeImportsAsBatchesOfOneFile();
  const bool result = ImportBySAX(splitter, strFile, strError, classes);
  SetMember(Member::ItemClass, nullptr);
  return result;
}

bool clsExpImp::ImportCustomDocument(const ObjectRef& classes, const std::string& strPropsString,
                                     const std::string& strXML, std::string& strError) {
  std::vector<Variant> args{Variant(strPropsString), Variant(strXML), Variant(strError), Variant(std::int32_t{1})};
  const bool result = CBool(classes->Call("Import", args));
  strError = CStr(args[2]);
  // A file's failed items count whether it is imported whole or in batches, and so do its class
  // records that failed on their own. The library's class tells both of the document itself; another
  // class is read as it offers.
  if (const auto* tally = dynamic_cast<const CustomClassImportTally*>(classes.get())) {
    m_lastImportTold = true;
    AddErrors(tally->FailedItemsOfLastImport());
    m_lFailedClasses += tally->FailedClassesOfLastImport();
    m_counts.Add(tally->ItemCountsOfLastImport());
    m_customCounts.Add(tally->ItemCountsOfLastImport());
  } else {
    m_customCounts.Add(AddErrorCount(classes));
  }
  return result;
}

}  // namespace quillane
