#include "exchange/modFunction_barcodes.h"

#include <string>
#include <vector>

#include "exchange/modFunction_connection.h"
#include "exchange/modFunction_text.h"
#include "platform/automation/vbconv.h"
#include "platform/xml/TrzRecord.h"

namespace quillane::modFunction {
namespace {

std::string itemCondition(std::int32_t lTypeID, std::int32_t lItemID) {
  return " Where FTypeID=" + std::to_string(lTypeID) + " And FItemID=" + std::to_string(lItemID);
}

// A value as it stands in a statement's text: Null and a missing value join as the empty text.
std::string quotedValue(const TrzRecord& record, std::string_view key) {
  Variant value = record.GetValue(key, Variant(""));
  return EscapeQuotes(value.isNull() ? std::string() : CStr(value));
}

}  // namespace

std::shared_ptr<TrzRecords> ReadBarCodes(const ObjectRef& oConn, std::int32_t lTypeID, std::int32_t lItemID) {
  ObjectRef rs = GetAnyRecordSet(oConn, "SELECT * FROM t_BarCode" + itemCondition(lTypeID, lItemID));
  auto vect = std::make_shared<TrzRecords>();
  for (; !IsEOF(rs); MoveNext(rs)) {
    auto record = std::make_shared<TrzRecord>();
    record->SetValue("BarCode", FieldValue(rs, "FBarcode"));
    record->SetValue("Remark", FieldValue(rs, "FRemark"));
    vect->Add(Variant(record));
  }
  return vect;
}

void SaveBarCodes(const ObjectRef& oConn, std::int32_t lTypeID, std::int32_t lItemID, const TrzRecords& vect) {
  // The batch is made before anything is sent, so that an entry that is no record deletes nothing.
  std::string batch;
  for (const Variant& entry : vect) {
    auto record = entry.objectAs<TrzRecord>();
    batch += "\r\nINSERT INTO t_BarCode (FTypeID,FItemID,FBarCode,FRemark) VALUES (" + std::to_string(lTypeID) + "," +
             std::to_string(lItemID) + ",'" + quotedValue(*record, "BarCode") + "','" + quotedValue(*record, "Remark") +
             "')";
  }
  ExecuteSQL(oConn, "Delete From t_BarCode" + itemCondition(lTypeID, lItemID));
  if (!batch.empty()) ExecuteSQL(oConn, batch);
}

}  // namespace quillane::modFunction
