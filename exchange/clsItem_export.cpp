// The export side of the item engine: the page query, the class's highest stamp, and the packing of
// rows into records.
#include <cstdlib>

#include "exchange/clsItem.h"
#include "exchange/clsItem_classes.h"
#include "exchange/clsItem_products.h"
#include "exchange/clsItem_sql.h"
#include "exchange/modFunction_barcodes.h"
#include "exchange/modFunction_connection.h"
#include "exchange/modFunction_text.h"
#include "exchange/modFunction_xml.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"
#include "platform/sql/read_session.h"

namespace quillane {
namespace {

constexpr const char* kFromBeginning = "0x0000000000000000";
constexpr const char* kNothingLeft = "0xFFFFFFFFFFFFFFFF";

std::string textOrEmpty(const Variant& value) { return value.isNull() ? std::string() : CStr(value); }

Variant field(const ObjectRef& rs, std::string_view name) { return modFunction::FieldValue(rs, name); }

}  // namespace

bool clsItem::Export(std::string& strPropsString, std::string& strXML, std::int32_t lPerCount,
                     std::string& strTimeStamp, std::string& strMaxTimeStamp, std::string& strError) {
  sql::ReadSession session;  // the props check and the page read through one connection
  if (!modFunction::InitProps(strPropsString, strError)) return false;
  m_lErrorCount = 0;
  m_counts = {};
  InitItemClass();
  if (!PassesVersionGate(strError)) return false;
  if (strTimeStamp.empty()) strTimeStamp = kFromBeginning;
  return RunCall(strError, [&] {
    // The highest stamp, the page and each row's links are read as they stood together, so a linked
    // record read once serves every row that names it.
    modFunction::HoldReads(cn);
    GetMaxTimeStamp(strMaxTimeStamp);
    ObjectRef rs = GetList(strTimeStamp, lPerCount);
    {
      PackedLinksOfCall links(*this);
      m_vector = PackageRecordset(rs, &strTimeStamp);
    }
    modFunction::CallMember(cn, "CloseConn");
    return modFunction::WriteVectorToXML(m_vector, strXML, modFunction::SchemaFolder() + Schema, TypeName, strError);
  });
}

// Deleted rows count: the pages carry their deletion marks, and a caller that pages while below this
// stamp, or starts its next export from it, would otherwise lose the marks above the newest live row
// and send them again next time.
void clsItem::GetMaxTimeStamp(std::string& strMaxTimeStamp) {
  ObjectRef rs = Query("SELECT MAX(FModifyTime) as FMT FROM t_Item WHERE FItemClassID=" + std::to_string(ItemClassID) +
                       " AND FItemID <> 0");
  strMaxTimeStamp = modFunction::IsEOF(rs) ? kFromBeginning : modFunction::BytesToHex(field(rs, "FMT"));
}

ObjectRef clsItem::GetList(std::string& strTimeStamp, std::int32_t lPerCount) {
  modFunction::RequireTimeStampText(strTimeStamp, item_sql::kSource);
  std::string condition = "(FSystemType=1) AND (FModifyTime>" + strTimeStamp;
  condition += Filter.empty() ? ")" : ") AND (" + Filter + ")";
  condition += " AND FItemClassID=" + std::to_string(ItemClassID) + " AND FItemID <> 0";
  // No blank before ORDER: SQL Server reads "0ORDER" as the number and the keyword.
  std::string select = lPerCount != 0 ? "SELECT TOP " + std::to_string(lPerCount) + " * FROM t_Item WHERE "
                                      : std::string("SELECT * FROM t_Item WHERE ");
  ObjectRef rs = Query(select + condition + "ORDER BY FModifyTime");
  if (modFunction::IsEOF(rs)) {
    strTimeStamp = kNothingLeft;
    return rs;
  }
  modFunction::CallMember(rs, "MoveLast");
  strTimeStamp = modFunction::BytesToHex(field(rs, "FModifyTime"));
  modFunction::CallMember(rs, "MoveFirst");
  return rs;
}

std::shared_ptr<TrzRecords> clsItem::PackageRecordset(ObjectRef& rs, std::string* strResumeTimeStamp) {
  auto vect = std::make_shared<TrzRecords>();
  if (!rs) return vect;
  const item_classes::ItemClass* info = item_classes::Find(ItemClassID);
  const bool carriesIsDelete = info && info->carriesIsDelete;
  // Rows come in stamp order, and neighbours often share a parent: one lookup serves them all.
  std::int32_t lastParentID = 0;
  std::string parentNumber, parentName, parentUUID;
  std::int32_t lCur = 0;
  while (!modFunction::IsEOF(rs)) {
    auto record = std::make_shared<TrzRecord>();
    record->SetValue("Name", textOrEmpty(field(rs, "FName")));
    record->SetValue("Number", textOrEmpty(field(rs, "FNumber")));

    std::int32_t parentID = CLng(field(rs, "FParentID"));
    if (parentID != lastParentID) {
      lastParentID = parentID;
      parentNumber.clear();
      parentName.clear();
      parentUUID.clear();
      if (parentID != 0) {
        ObjectRef parent = Query("SELECT FNumber,FName,UUID FROM t_Item WHERE FItemID=" + std::to_string(parentID) +
                                 " AND FItemClassID=" + std::to_string(ItemClassID));
        if (!modFunction::IsEOF(parent)) {
          Variant number = field(parent, "FNumber");
          parentNumber = number.isNull() ? std::string("0") : CStr(number);
          parentName = textOrEmpty(field(parent, "FName"));
          parentUUID = textOrEmpty(field(parent, "UUID"));
        }
      }
    }
    // A parent without a UUID (written by a program that gives none) is still the parent: the import
    // finds it by number and name, and leaving the link out would put the row at the top.
    if (!parentNumber.empty() && !parentName.empty()) {
      auto link = std::make_shared<TrzRecord>();
      link->SetValue("Number", std::string(Trim(parentNumber)));
      link->SetValue("Name", parentName);
      link->SetValue("UUID", parentUUID);
      record->SetObject("Parent", link);
    }

    record->SetValue("Level", field(rs, "FLevel"));
    record->SetValue("IsDetail", std::abs(CLng(field(rs, "FDetail"))));
    record->SetValue("UUID", field(rs, "UUID"));
    if (carriesIsDelete) record->SetValue("IsDelete", field(rs, "FDeleted"));

    const std::int32_t itemID = CLng(field(rs, "FItemID"));
    if (!TableName.empty()) {
      ObjectRef detail = Query("SELECT * FROM " + TableName + " WHERE FItemID=" + std::to_string(itemID));
      if (!modFunction::IsEOF(detail))
        RaiseEventWith("CommonPacketSpecial", kCommonPacketSpecial, detail, record);
    }
    record->SetObject("BarCodes", modFunction::ReadBarCodes(cn, ItemClassID, itemID));
    if (ItemClassID == item_classes::kCostObject) ExportCBObjectMaterial(*this, *record, itemID);

    const Variant entry(record);
    vect->Add(entry);
    const std::string stamp = bProgress ? modFunction::BytesToHex(field(rs, "FModifyTime")) : std::string();
    modFunction::MoveNext(rs);
    if (!bProgress) continue;
    bool bCancel = false;
    RaiseProgress(++lCur, CLng(rs->Get("RecordCount")), bCancel);
    if (bCancel) {
      if (strResumeTimeStamp) *strResumeTimeStamp = stamp;
      break;
    }
  }
  return vect;
}

}  // namespace quillane
