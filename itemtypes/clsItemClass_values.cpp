// The values of the custom properties of a class's items: they stand in the class's own table and travel
// as a CustomProperty record {PropertyName, PropertyValue} per property that has a value. A lookup
// property keeps a key of another table and travels as that row's display text.
#include "exchange/mdlLanguage.h"
#include "exchange/modFunction_sql.h"
#include "exchange/modFunction_connection.h"
#include "exchange/modFunction_import.h"
#include "itemtypes/clsItemClass.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"
#include "platform/xml/TrzRecords.h"

namespace quillane {
namespace {

// A stored lookup key of 0 means "none", as Null does.
bool isNoKey(const Variant& stored) {
  if (stored.isNull() || stored.isEmpty()) return true;
  if (stored.isNumeric()) return CDbl(stored) == 0;
  return IsNumeric(stored) && CDbl(stored) == 0;
}

// The data types whose columns take their values as numbers: smallint, int, real, float, money, bit and
// decimal. Every other type takes a quoted text.
bool takesNumbers(std::int32_t lDataType) {
  for (std::int32_t code : {2, 3, 4, 5, 6, 11, 14})
    if (lDataType == code) return true;
  return false;
}

Variant field(const ObjectRef& rs, std::string_view name) { return modFunction::FieldValue(rs, name); }

}  // namespace

void clsItemClass::oItem_CommonPacketSpecial(Arguments args) {
  const ObjectRef& rs = args[0].object();
  auto record = args[1].objectAs<TrzRecord>();
  auto values = std::make_shared<TrzRecords>();
  for (const TrzRecord::Entry& entry : m_oPropDescs->Entries()) {
    Variant value = PacketPropertyValue(rs, *entry.second.objectAs<TrzRecord>());
    const std::string text = value.isEmpty() || value.isNull() ? std::string() : CStr(value);
    if (text.empty()) continue;
    auto property = std::make_shared<TrzRecord>();
    property->SetValue("PropertyName", entry.first);
    property->SetValue("PropertyValue", text);
    values->Add(Variant(property));
  }
  record->SetObject("CustomProperty", values);
}

Variant clsItemClass::PacketPropertyValue(const ObjectRef& rs, const TrzRecord& oDesc) {
  // A description without a column holds no values.
  std::string column = modFunction::RecordText(oDesc, "SQLColumnName");
  if (column.empty()) return Variant();
  column = modFunction::Identifier(column, "SQLColumnName");
  const std::string srcTable = modFunction::RecordText(oDesc, "SrcTable");
  if (srcTable.empty()) {
    Variant value = field(rs, column);
    return value.isNull() ? Variant(modFunction::RecordText(oDesc, "DefaultValue")) : value;
  }
  // A lookup: the row keeps a key of the source table and travels as that row's display text.
  Variant stored = field(rs, column);
  if (isNoKey(stored)) return Variant();
  const std::string displayField = modFunction::Identifier(modFunction::RecordText(oDesc, "DisplayField"), "DisplayField");
  m_strSQL = "SELECT " + displayField + " FROM " + modFunction::Identifier(srcTable, "SrcTable") + " WHERE " +
             modFunction::Identifier(modFunction::RecordText(oDesc, "SrcField"), "SrcField") + "=" + modFunction::Literal(stored);
  ObjectRef found = modFunction::GetAnyRecordSet(m_oConn, m_strSQL);
  return modFunction::IsEOF(found) ? Variant() : field(found, displayField);
}

void clsItemClass::oItem_CommonImportSpecial(Arguments args) {
  auto record = args[0].objectAs<TrzRecord>();
  std::string strSQL = CStr(args[1]);
  if (std::shared_ptr<TrzRecords> values = record->GetVector("CustomProperty")) {
    for (const Variant& entry : *values) {
      auto property = entry.objectAs<TrzRecord>();
      const std::string value = modFunction::RecordText(*property, "PropertyValue");
      // An empty value leaves the column as the row holds it.
      if (value.empty()) continue;
      const std::string name = CStr(property->Item("PropertyName"));
      if (!m_oPropDescs->Exists(name))
        throw AutomationError(kLibraryRefusal, kSource, mdlLanguage::LoadLangString("自定义属性没有描述:") + name);
      ImportPropertyValue(value, *m_oPropDescs->Item(name).objectAs<TrzRecord>(), strSQL);
    }
  }
  args[1] = Variant(std::move(strSQL));
}

void clsItemClass::ImportPropertyValue(const std::string& strValue, const TrzRecord& oDesc, std::string& strSQL) {
  const std::string column = modFunction::Identifier(modFunction::RecordText(oDesc, "SQLColumnName"), "SQLColumnName");
  const std::string srcTable = modFunction::RecordText(oDesc, "SrcTable");
  if (!srcTable.empty()) {
    const std::string srcField = modFunction::Identifier(modFunction::RecordText(oDesc, "SrcField"), "SrcField");
    // Kept as the engine's last statement, so that the item's error line quotes a lookup that fails.
    std::string& lookup = oItem->lastSQL();
    lookup = "SELECT " + srcField + " FROM " + modFunction::Identifier(srcTable, "SrcTable") + " WHERE " +
             modFunction::Identifier(modFunction::RecordText(oDesc, "DisplayField"), "DisplayField") + "=" +
             modFunction::Quoted(strValue);
    ObjectRef found = modFunction::GetAnyRecordSet(m_oConn, lookup);
    // A display text no row has sets the key to 0.
    Variant key = modFunction::IsEOF(found) ? Variant(std::int32_t{0}) : field(found, srcField);
    strSQL += column + "=" + (key.isNull() ? std::string("NULL") : modFunction::Literal(key)) + ",";
    return;
  }
  const std::string upper = UCase(strValue);
  const std::string value = upper == "TRUE" ? "1" : upper == "FALSE" ? "0" : strValue;
  const Variant dataType = oDesc.GetValue("DataType", Variant(std::int32_t{0}));
  // A number goes into the statement as the number it is, or the item fails before the statement runs.
  if (takesNumbers(dataType.isNull() ? 0 : CLng(dataType)))
    strSQL += column + "=" + modFunction::NumberValue(Variant(value), modFunction::RecordText(oDesc, "Name")) + ",";
  else
    strSQL += column + "=" + modFunction::Quoted(value) + ",";
}

}  // namespace quillane
