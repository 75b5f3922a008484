#include "itemtypes/field_map.h"

#include "exchange/MParse.h"
#include "exchange/modFunction_connection.h"
#include "exchange/modFunction_sql.h"
#include "platform/automation/vbconv.h"

namespace quillane {
namespace {

bool passes(const Variant& value, ExportTest test) {
  if (value.isNull()) return false;
  if (test == ExportTest::NotNull) return true;
  return !(IsNumeric(value) && CDbl(value) == 0);
}

}  // namespace

bool FieldGate::Holds() const {
  switch (op) {
    case Op::Always: return true;
    case Op::Above: return MParse::CompareServicePack(version) > 0;
    case Op::AtLeast: return MParse::CompareServicePack(version) >= 0;
  }
  return false;
}

void PacketFields(ItemEngineAccess& engine, FieldMap fields, const ObjectRef& rs, TrzRecord& record) {
  for (const ItemField& field : fields) {
    if (!field.gate.Holds()) continue;
    Variant value = modFunction::FieldValue(rs, field.column);
    if (!passes(value, field.test)) continue;
    if (field.kind == FieldKind::Link)
      PacketLinkField(engine, field.link, record, CLng(value), field.element);
    else
      record.SetValue(field.element, std::move(value));
  }
}

void ImportFields(ItemEngineAccess& engine, FieldMap fields, const TrzRecord& record, std::string& strSQL) {
  try {
    for (const ItemField& field : fields) {
      if (!field.gate.Holds() || !record.Exists(field.element)) continue;
      const Variant& value = record.Item(field.element);
      const std::string column = field.column;
      if (field.importValue) {
        strSQL += column + "=" + field.importValue + ",";
        continue;
      }
      switch (field.kind) {
        case FieldKind::Text: strSQL += column + "=" + modFunction::Quoted(CStr(value)) + ","; break;
        case FieldKind::Number: strSQL += column + "=" + modFunction::NumberValue(value, field.element) + ","; break;
        case FieldKind::Link: ImportLinkField(engine, field.link, value, column, strSQL); break;
      }
    }
  } catch (const AutomationError&) {
    // The handler's strSQL is a copy the event writes back only on success; the engine's error line
    // quotes its own last statement, which is to be the lookup that failed.
    engine.lastSQL() = strSQL;
    throw;
  }
}

}  // namespace quillane
