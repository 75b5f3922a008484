#include "standalone/clsAuxProp.h"

#include <algorithm>
#include <vector>

#include "exchange/MParse.h"
#include "exchange/custom_class_import.h"
#include "exchange/mdlLanguage.h"
#include "exchange/modFunction_connection.h"
#include "exchange/modFunction_errors.h"
#include "exchange/modFunction_import.h"
#include "exchange/per_type_interface.h"
#include "exchange/modFunction_sql.h"
#include "exchange/modFunction_xml.h"
#include "platform/automation/factory.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"
#include "platform/sql/read_session.h"
#include "platform/xml/DOMDocument.h"
#include "standalone/private_temp_file.h"

namespace quillane::standalone {
namespace {

constexpr const char* kSource = "Quillane.clsAuxProp";
constexpr const char* kNothingLeft = "0xFFFFFFFFFFFFFFFF";
constexpr const char* kFileName = "AuxProp.xml";
// The facade's file import reads the whole document in batches of this many items.
constexpr std::int32_t kImportBatch = 500;

// The document text without the line break that ends a serialised document.
std::string WithoutFinalLineBreak(std::string text) {
  if (text.ends_with("\r\n")) text.resize(text.size() - 2);
  else if (text.ends_with("\n")) text.pop_back();
  return text;
}

}  // namespace

clsAuxProp::~clsAuxProp() { modFunction::CallMemberQuietly(m_oConn, "CloseConn"); }

bool clsAuxProp::AccountSetRefused(std::string& strError) {
  if (MParse::IsIndustry()) {
    strError = mdlLanguage::LoadLangString("只有商业业账套才支持商品辅助属性的导入导出!");
    return true;
  }
  if (MParse::CompareServicePack("2.0.0.3") < 0) {
    strError = mdlLanguage::LoadLangString("只有 Q7 9.2 及以上版本的工业账套才支持商品辅助属性的导入导出!");
    return true;
  }
  return false;
}

ObjectRef clsAuxProp::Facade() const {
  if (!m_oExpImp) throw vbError(VbError::ObjectNotSet, kSource);
  return m_oExpImp;
}

ObjectRef clsAuxProp::Query(std::string strSQL) {
  m_strSQL = std::move(strSQL);
  // Only an Export or Import opens the connection.
  if (!m_oConn) throw vbError(VbError::ObjectNotSet, kSource);
  return modFunction::GetAnyRecordSet(m_oConn, m_strSQL);
}

std::string clsAuxProp::ClassList(std::string& unnamed) {
  std::string list;
  const std::string separator = mdlLanguage::LoadLangString("、");
  for (ObjectRef rs = Query("SELECT " + MParse::ClassNameColumn() +
                            " AS FShownName,FName FROM t_ItemClass WHERE FType=3 OR FType=4 ORDER BY FType");
       !modFunction::IsEOF(rs); modFunction::MoveNext(rs)) {
    const Variant shown = modFunction::FieldValue(rs, "FShownName");
    if (shown.isNull() || Trim(CStr(shown)).empty())
      unnamed += (unnamed.empty() ? "" : separator) + CStr(modFunction::FieldValue(rs, "FName"));
    else
      list += "|" + CStr(shown);
  }
  return list;
}

void clsAuxProp::RaiseProgress(std::int32_t lCur, std::int32_t lTotal) {
  RaiseEventWith("Progress", kProgress, std::as_const(lCur), std::as_const(lTotal), m_bCancel);
}

bool clsAuxProp::Export(std::string& strPropsString, std::string& strXML, std::int32_t lPerCount,
                        std::string& strTimeStamp, std::string& strMaxTimeStamp, std::string& strError) {
  sql::ReadSession session;  // the props check and the page read through one connection
  m_bCancel = false;
  if (!modFunction::InitProps(strPropsString, strError)) return false;
  if (AccountSetRefused(strError)) return false;
  try {
    modFunction::OpenConnection(m_oConn);
    modFunction::HoldReads(m_oConn);
    std::string unnamed;
    const std::string classes = ClassList(unnamed);
    // The properties travel as one whole: a class that the facade cannot be asked for refuses them all.
    if (!unnamed.empty()) {
      strError = mdlLanguage::LoadLangString("商品辅助属性类别(") + unnamed +
                 mdlLanguage::LoadLangString(")没有当前语言的名称，无法导出!");
      return false;
    }
    if (classes.empty()) {
      strError = mdlLanguage::LoadLangString("不存在商品辅助属性的记录!");
      return false;
    }
    ObjectRef facade = Facade();
    PrivateTempFile file(kFileName);
    std::vector<Variant> args{Variant(strPropsString), Variant(classes),         Variant(file.path()),
                              Variant(lPerCount),      Variant(strTimeStamp),    Variant(strMaxTimeStamp),
                              Variant(strError)};
    const bool exported = CBool(facade->Call("ExportCustIOToFile", args));
    strTimeStamp = CStr(args[4]);
    strMaxTimeStamp = CStr(args[5]);
    strError = CStr(args[6]);
    // The classes the user may export travel; those refused are named in strError.
    bool result = false;
    if (exported) {
      DOMDocument document;
      if (!document.load(file.path()))
        throw AutomationError(kLibraryRefusal, kSource, document.parseError()->reason());
      strXML = WithoutFinalLineBreak(document.xml());
      strTimeStamp = kNothingLeft;
      result = true;
    }
    if (m_bProgress) {
      const auto count = static_cast<std::int32_t>(std::count(classes.begin(), classes.end(), '|'));
      RaiseProgress(count, count);
    }
    return result;
  } catch (const AutomationError& e) {
    strError = modFunction::FormatErrInfo(e, m_strSQL);
    modFunction::CallMemberQuietly(m_oConn, "CloseConn");
    return false;
  }
}

bool clsAuxProp::Import(std::string& strPropsString, std::string strXML, std::string& strError,
                        Variant lSystemType) {
  m_bCancel = false;
  if (!modFunction::InitProps(strPropsString, strError)) return false;
  try {
    m_ErrorCount = 0;
    m_counts = {};
    // Checked like every import's, though the facade's file import writes its own system type.
    modFunction::NumberValue(lSystemType, "lSystemType");
    if (AccountSetRefused(strError)) return false;
    modFunction::OpenConnection(m_oConn);
    ObjectRef facade = Facade();
    PrivateTempFile file(kFileName);
    DOMDocument document;
    if (!document.loadXML(strXML))
      throw AutomationError(kLibraryRefusal, kSource, document.parseError()->reason());
    document.save(file.path());
    std::vector<Variant> args{Variant(strPropsString), Variant(""), Variant(file.path()), Variant(kImportBatch),
                              Variant(strError)};
    const bool result = CBool(facade->Call("ImportCustIOFromFile", args));
    strError = CStr(args[4]);
    // What the file import did with the items of this document, and a class that failed whole as a
    // failed record of its own; the facade's totals hold its earlier calls too. Another facade is read
    // as it offers.
    if (const auto* tally = dynamic_cast<const FailedClassRecordsTally*>(facade.get())) {
      m_counts = tally->ItemCountsOfLastImport();
      m_counts.failed += tally->FailedClassesOfLastImport();
    } else {
      m_counts = modFunction::ImportCounts::Of(facade);
    }
    m_ErrorCount = m_counts.failed;
    return result;
  } catch (const AutomationError& e) {
    strError = modFunction::FormatErrInfo(e, "");
    modFunction::CallMemberQuietly(m_oConn, "CloseConn");
    return false;
  }
}

const DispatchTable& clsAuxProp::dispatchTable() const {
  static const DispatchTable table =
      DispatchBuilder<clsAuxProp>()
          .method("Export", 1, &clsAuxProp::Export, {Variant(std::int32_t{100}), Variant(""), Variant(""), Variant("")})
          .method("Import", 2, &clsAuxProp::Import, {Variant(std::int16_t{1})})
          .method("GetDataSet", 3, &clsAuxProp::GetDataSet)
          .let("Filter", 4, &clsAuxProp::setFilter)
          .let("CheckByUUID", 5, &clsAuxProp::setCheckByUUID)
          .let("AddNewOnly", 6, &clsAuxProp::setAddNewOnly)
          .let("bProgress", 7, &clsAuxProp::setbProgress)
          .get("ErrorCount", 8, &clsAuxProp::ErrorCount)
          .let("HaveInterFace", 9, &clsAuxProp::setHaveInterFace)
          .get("oExpImp", 10, &clsAuxProp::oExpImp)
          .set("oExpImp", 10, &clsAuxProp::setoExpImp)
          .get("ImportCounts", kImportCountsDispId, &clsAuxProp::ImportCounts)
          .build();
  return table;
}

QUILLANE_REGISTER_CLASS("Quillane.clsAuxProp", clsAuxProp)

}  // namespace quillane::standalone
