// The export road of the frame: the table's highest stamp, one page of rows in row-version order, and
// the packing of each row into a record by the type's fields.
#include "exchange/clsItem_links.h"
#include "exchange/modFunction_connection.h"
#include "exchange/modFunction_errors.h"
#include "exchange/modFunction_text.h"
#include "exchange/modFunction_xml.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/yield.h"
#include "platform/sql/read_session.h"
#include "standalone/standalone_class.h"

namespace quillane::standalone {
namespace {

constexpr const char* kFromBeginning = "0x0000000000000000";
constexpr const char* kNothingLeft = "0xFFFFFFFFFFFFFFFF";

}  // namespace

bool StandaloneClass::Export(std::string& strPropsString, std::string& strXML, std::int32_t lPerCount,
                             std::string& strTimeStamp, std::string& strMaxTimeStamp, std::string& strError) {
  sql::ReadSession session;  // the props check and the page read through one connection
  if (!modFunction::InitProps(strPropsString, strError)) return false;
  m_ErrorCount = 0;
  m_counts = {};
  if (strTimeStamp.empty()) strTimeStamp = kFromBeginning;
  try {
    modFunction::OpenConnection(m_oConn);
    modFunction::HoldReads(m_oConn);
    GetMaxTimeStamp(strMaxTimeStamp);
    ObjectRef rs = GetList(strTimeStamp, lPerCount);
    std::shared_ptr<TrzRecords> page = PackageRecordset(rs, strTimeStamp);
    modFunction::CallMember(m_oConn, "CloseConn");
    const std::string typeName = type().typeName;
    return modFunction::WriteVectorToXML(page, strXML, modFunction::SchemaFolder() + typeName + ".xsd", typeName,
                                         strError);
  } catch (const AutomationError& e) {
    strError = modFunction::FormatErrInfo(e, m_strSQL);
    modFunction::CallMemberQuietly(m_oConn, "CloseConn");
    return false;
  }
}

void StandaloneClass::GetMaxTimeStamp(std::string& strMaxTimeStamp) {
  ObjectRef rs = Query(type().maxStampQuery);
  // An empty table gives no row or a Null maximum; BytesToHex answers Null with the zero stamp.
  strMaxTimeStamp = modFunction::IsEOF(rs) ? kFromBeginning : modFunction::BytesToHex(modFunction::FieldValue(rs, "FMT"));
}

ObjectRef StandaloneClass::GetList(std::string& strTimeStamp, std::int32_t lPerCount) {
  // The stamp stands unquoted in the statement, as a binary literal: it must be nothing else.
  modFunction::RequireTimeStampText(strTimeStamp, ErrorSource());
  std::string condition = "(FSystemType=1) AND ";
  condition += m_Filter.empty() ? "(FModifyTime>" + strTimeStamp + ")"
                                : "((FModifyTime>" + strTimeStamp + ") AND (" + m_Filter + "))";
  std::string select = lPerCount != 0 ? "SELECT TOP " + std::to_string(lPerCount) + " *" : std::string("SELECT *");
  ObjectRef rs = Query(select + type().pageSource + " AND (" + condition + ")" + " ORDER BY FModifyTime");
  if (modFunction::IsEOF(rs)) {
    strTimeStamp = kNothingLeft;
    return rs;
  }
  modFunction::CallMember(rs, "MoveLast");
  strTimeStamp = modFunction::BytesToHex(modFunction::FieldValue(rs, "FModifyTime"));
  modFunction::CallMember(rs, "MoveFirst");
  return rs;
}

std::shared_ptr<TrzRecords> StandaloneClass::PackageRecordset(const ObjectRef& rs, std::string& strTimeStamp) {
  auto page = std::make_shared<TrzRecords>();
  std::int32_t lCur = 0;
  BeginPage();
  while (!modFunction::IsEOF(rs)) {
    auto record = std::make_shared<TrzRecord>();
    PackRecord(rs, *record);
    page->Add(Variant(record));
    const std::string stamp = m_bProgress ? modFunction::BytesToHex(modFunction::FieldValue(rs, "FModifyTime")) : "";
    modFunction::MoveNext(rs);
    if (type().yieldsWhilePacking) YieldToMessageLoop();
    if (!m_bProgress) continue;
    bool bCancel = false;
    RaiseProgress(++lCur, CLng(rs->Get("RecordCount")), bCancel);
    if (bCancel) {
      // The rows after this one were not sent: the next page starts right after it.
      strTimeStamp = stamp;
      break;
    }
  }
  return page;
}

void StandaloneClass::PackRecord(const ObjectRef& rs, TrzRecord& record) {
  for (const Field& field : type().fields) {
    if (!ServicePackAtLeast(field.since)) continue;
    switch (field.out) {
      case Out::None:
        break;
      case Out::Text: {
        Variant value = modFunction::FieldValue(rs, field.column);
        record.SetValue(field.key, value.isNull() ? Variant("") : std::move(value));
        break;
      }
      case Out::Stored: {
        Variant value = modFunction::FieldValue(rs, field.column);
        if (!value.isNull()) record.SetValue(field.key, std::move(value));
        break;
      }
      case Out::Link: {
        Variant id = modFunction::FieldValue(rs, field.column);
        if (!id.isNull() && CLng(id) > 0) PacketLinkField(*this, field.link, record, CLng(id), field.key);
        break;
      }
      case Out::Own:
        PackOwnKey(field, rs, record);
        break;
    }
  }
}

}  // namespace quillane::standalone
