#include "exchange/clsItem_products.h"

#include <string>
#include <utility>
#include <vector>

#include "exchange/mdlLanguage.h"
#include "exchange/modFunction_connection.h"
#include "exchange/modFunction_sql.h"
#include "exchange/modFunction_text.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"

namespace quillane {
namespace {

constexpr const char* kSource = "Tarnwick.clsItem";

using modFunction::EscapeQuotes;
using modFunction::FieldValue;
using modFunction::GetAnyRecordSet;
using modFunction::IsEOF;
using modFunction::MoveNext;

// A field as a statement or a text joins it: Null joins as the empty text.
std::string textOf(const Variant& value) { return value.isNull() ? std::string() : CStr(value); }

// Puts the engine's statement text back when the helper that borrowed it succeeds; after an error it
// keeps the statement that failed, for the record's error line.
class BorrowedSQL {
 public:
  explicit BorrowedSQL(ItemEngineAccess& engine) : sql_(engine.lastSQL()), kept_(sql_) {}
  std::string& text() { return sql_; }
  void giveBack() { sql_ = kept_; }

 private:
  std::string& sql_;
  std::string kept_;
};

// The row's value, or ifNull when the column holds Null. A bit column reads as a Boolean; its value
// travels as the whole number 0 or 1, which the import pastes back as a number.
Variant numberOf(const Variant& value, std::int32_t ifNull) {
  if (value.isNull()) return Variant(ifNull);
  if (const bool* b = value.tryAs<bool>()) return Variant(std::int32_t{*b ? 1 : 0});
  return value;
}

// A product's value as it stands unquoted in the INSERT: a number, written anew (a Boolean as the bit it
// stands for). Anything else would end up as text in the statement, so it fails the record instead.
std::string sqlNumber(const TrzRecord& product, std::string_view key, std::int32_t fallback) {
  return modFunction::NumberValue(product.GetValue(key, Variant(fallback)), key);
}

// The product's item in the target account set: by UUID alone when CheckByUUID is set and it has one,
// else by number among the materials; 0 when it is not found. A UUID that matches nothing is not
// stood in for by a number, which may name another item here.
std::int32_t productItemID(ItemEngineAccess& engine, const TrzRecord& product) {
  std::string& strSQL = engine.lastSQL();
  std::string uuid = textOf(product.GetValue("UUID", Variant("")));
  if (engine.checkByUUID() && !uuid.empty()) {
    strSQL = "SELECT * FROM t_Item WHERE UUID='" + EscapeQuotes(uuid) + "'";
    ObjectRef rs = GetAnyRecordSet(engine.connection(), strSQL);
    return IsEOF(rs) ? 0 : CLng(FieldValue(rs, "FItemID"));
  }
  strSQL =
      "SELECT * FROM t_Item WHERE FNumber='" + EscapeQuotes(textOf(product.GetValue("Number", Variant("")))) + "' AND FItemClassID=4";
  ObjectRef rs = GetAnyRecordSet(engine.connection(), strSQL);
  return IsEOF(rs) ? 0 : CLng(FieldValue(rs, "FItemID"));
}

// The condition on t_Item that its number and name joined equal joined (as the ERP compares a pair with
// an item): one alternative per place where the number may end, so that each is found by an index
// instead of joining every item's number and name.
std::string joinedNumberAndName(const std::string& joined) {
  std::string condition;
  for (std::size_t end = 0; end <= joined.size(); ++end) {
    if (end < joined.size() && (static_cast<unsigned char>(joined[end]) & 0xC0) == 0x80) continue;  // inside a character
    condition += std::string(condition.empty() ? "" : " OR ") + "(FNumber='" + EscapeQuotes(joined.substr(0, end)) +
                 "' AND FName='" + EscapeQuotes(joined.substr(end)) + "')";
  }
  return condition;
}

// Switches the trigger of the table, where the account set has it.
std::string auxPropTrigger(const char* how) {
  return std::string("IF EXISTS (SELECT name From sysobjects WHERE  name = 'COM_ItemAuxProp_Delete' AND type = 'TR') "
                     "ALTER TABLE COM_ItemAuxProp ") +
         how + " TRIGGER COM_ItemAuxProp_Delete";
}

// Links the item to the auxiliary property items that the pairs name, matched on number and name
// joined (as the ERP compares them) among the items of the user-defined classes, the first by
// identifier; pairs that match no item are dropped. Each pair is looked up by itself: reading every
// user-class item for each record made a material import cost materials times those items.
void linkAuxProps(ItemEngineAccess& engine, std::string& strSQL, std::int32_t lItemID, const std::string& strAuxProps) {
  std::string batch;
  for (const std::string& pair : Split(strAuxProps, "|")) {
    // The text has no escape for "|" and "~": the first "~" ends the number.
    std::size_t tilde = pair.find('~');
    if (tilde == std::string::npos)
      throw AutomationError(kLibraryRefusal, kSource,
                            mdlLanguage::LoadLangString("辅助属性必须写作 代码~名称:") + pair);
    strSQL = "Select FItemID From t_Item Where (" + joinedNumberAndName(pair.substr(0, tilde) + pair.substr(tilde + 1)) +
             ") AND ((FItemClassID >1000 AND FItemClassID<2000) OR (FItemClassID >3000 AND FItemClassID<9999)) "
             "ORDER BY FItemID";
    ObjectRef rs = GetAnyRecordSet(engine.connection(), strSQL);
    if (IsEOF(rs)) continue;
    std::int32_t lAuxPropID = CLng(FieldValue(rs, "FItemID"));
    if (lAuxPropID != 0)
      batch += "\r\nINSERT INTO COM_ItemAuxProp (FItemID,FAuxPropID) VALUES(" + std::to_string(lItemID) + "," +
               std::to_string(lAuxPropID) + ")";
  }
  if (batch.empty()) return;
  strSQL = batch;
  modFunction::ExecuteSQL(engine.connection(), strSQL);
}

}  // namespace

std::int32_t GetItemIDByNumberName(ItemEngineAccess& engine, std::int32_t lClassID, const std::string& strNumber,
                                   const std::string& strName) {
  BorrowedSQL sql(engine);
  sql.text() = (lClassID != 0 ? "Select * From t_Item Where FItemClassID=" + std::to_string(lClassID) + " And "
                              : std::string("Select * From t_Item Where  ")) +
               "FNumber='" + EscapeQuotes(strNumber) + "'AND FName='" + EscapeQuotes(strName) + "'";
  ObjectRef rs = GetAnyRecordSet(engine.connection(), sql.text());
  std::int32_t id = IsEOF(rs) ? 0 : CLng(FieldValue(rs, "FItemID"));
  sql.giveBack();
  return id;
}

std::string GetItemNumberName(ItemEngineAccess& engine, std::int32_t lID) {
  BorrowedSQL sql(engine);
  sql.text() = "Select * From t_Item Where FItemID=" + std::to_string(lID);
  ObjectRef rs = GetAnyRecordSet(engine.connection(), sql.text());
  std::string text =
      IsEOF(rs) ? std::string() : textOf(FieldValue(rs, "FNumber")) + "~" + textOf(FieldValue(rs, "FName"));
  sql.giveBack();
  return text;
}

std::string GetAuxProps(ItemEngineAccess& engine, const std::string& strNumber, const std::string& strName) {
  // The caller packs a link and sees no error of this list; its statement text stays its own.
  BorrowedSQL sql(engine);
  std::string strAuxProps;
  try {
    std::int32_t id = GetItemIDByNumberName(engine, engine.itemClassID(), strNumber, strName);
    if (id != 0) {
      ObjectRef rs =
          GetAnyRecordSet(engine.connection(), "Select * From COM_ItemAuxProp where FItemID=" + std::to_string(id));
      for (; !IsEOF(rs); MoveNext(rs)) {
        // A property whose item is gone is left out: an empty pair could not be read back.
        std::string pair = GetItemNumberName(engine, CLng(FieldValue(rs, "FAuxPropID")));
        if (!pair.empty()) strAuxProps += "|" + pair;
      }
    }
    if (!strAuxProps.empty()) strAuxProps.erase(0, 1);
  } catch (const AutomationError&) {
    strAuxProps.clear();
  }
  sql.giveBack();
  return strAuxProps;
}

bool SaveAuxProp(ItemEngineAccess& engine, const std::string& strAuxProps) {
  if (!engine.hasRecords()) return true;
  const std::int32_t lItemID = engine.currentItemID();
  if (lItemID == 0) return false;
  BorrowedSQL sql(engine);
  sql.text() = "DELETE FROM COM_ItemAuxProp WHERE FItemID=" + std::to_string(lItemID);
  // The trigger that keeps an item's properties once given is off for this delete alone: one batch,
  // inside the record's transaction, so that nothing that ends the import can leave it off. An item
  // without properties (a new one) has nothing to delete, and the trigger nothing to refuse.
  modFunction::ExecuteSQL(engine.connection(), "IF EXISTS (SELECT 1 FROM COM_ItemAuxProp WHERE FItemID=" +
                                                   std::to_string(lItemID) + ") BEGIN\r\n" + auxPropTrigger("DISABLE") +
                                                   "\r\n" + sql.text() + "\r\n" + auxPropTrigger("ENABLE") + "\r\nEND");
  if (!strAuxProps.empty()) linkAuxProps(engine, sql.text(), lItemID, strAuxProps);
  sql.giveBack();
  return true;
}

void ExportCBObjectMaterial(ItemEngineAccess& engine, TrzRecord& record, std::int32_t lCostObjID) {
  std::string& strSQL = engine.lastSQL();
  strSQL = "SELECT * FROM cb_CostObj_Product  WHERE FCostObjID=" + std::to_string(lCostObjID);
  ObjectRef rows = GetAnyRecordSet(engine.connection(), strSQL);
  auto products = std::make_shared<TrzRecords>();
  for (; !IsEOF(rows); MoveNext(rows)) {
    strSQL = "SELECT * FROM t_Item  WHERE FItemID=" + std::to_string(CLng(FieldValue(rows, "FProductID")));
    ObjectRef item = GetAnyRecordSet(engine.connection(), strSQL);
    if (IsEOF(item)) continue;
    auto product = std::make_shared<TrzRecord>();
    product->SetValue("Number", Variant(textOf(FieldValue(item, "FNumber"))));
    product->SetValue("Name", Variant(textOf(FieldValue(item, "FName"))));
    product->SetValue("UUID", Variant(textOf(FieldValue(item, "UUID"))));
    product->SetValue("Quotiety", numberOf(FieldValue(rows, "FQuotiety"), 1));
    product->SetValue("IsStand", numberOf(FieldValue(rows, "FIsStand"), 0));
    product->SetValue("IsDeputy", numberOf(FieldValue(rows, "FIsDeputy"), 0));
    products->Add(Variant(product));
  }
  if (products->Count() > 0) record.SetObject("Material", products);
}

void ImportCBObjectMaterial(ItemEngineAccess& engine, const std::shared_ptr<TrzRecords>& products,
                            std::int32_t lCostObjID) {
  if (!products || products->Count() == 0) return;
  // Every entry is checked before anything is written: a bad one fails the record with the products
  // as they were.
  std::vector<std::pair<std::shared_ptr<TrzRecord>, std::string>> checked;
  for (const Variant& entry : *products) {
    auto product = entry.objectAs<TrzRecord>();
    checked.emplace_back(product, "," + sqlNumber(*product, "Quotiety", 1) + "," + sqlNumber(*product, "IsStand", 0) +
                                      "," + sqlNumber(*product, "IsDeputy", 0) + ")");
  }
  std::string& strSQL = engine.lastSQL();
  strSQL = "DELETE FROM cb_CostObj_Product  WHERE FCostObjID=" + std::to_string(lCostObjID);
  modFunction::ExecuteSQL(engine.connection(), strSQL);
  for (const auto& [product, numbers] : checked) {
    std::int32_t lProductID = productItemID(engine, *product);
    if (lProductID == 0) continue;
    strSQL = "INSERT cb_CostObj_Product (FCostObjID,FProductID,FQuotiety,FIsStand,FIsDeputy) VALUES (" +
             std::to_string(lCostObjID) + "," + std::to_string(lProductID) + numbers;
    modFunction::ExecuteSQL(engine.connection(), strSQL);
  }
}

}  // namespace quillane
