#include "itemtypes/field_map.h"

#include <algorithm>
#include <stdexcept>

#include "exchange/MParse.h"
#include "exchange/modFunction_connection.h"
#include "exchange/modFunction_sql.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"

namespace quillane {
namespace {

bool passes(const Variant& value, ExportTest test) {
  if (value.isNull()) return false;
  if (test == ExportTest::NotNull) return true;
  return !(IsNumeric(value) && CDbl(value) == 0);
}

bool skipped(const ItemField& field, const Variant& value) {
  if (field.kind != FieldKind::Date || value.isObject()) return false;
  const std::string text = CStr(value);
  return std::any_of(field.skip.begin(), field.skip.end(), [&](const char* s) { return text == s; });
}

// A flag as the library's own export writes a bit column ("True"/"False") or as a number; an empty
// element is an unset flag, 0, as the empty text converts into a bit column.
std::string flagValue(const Variant& value, const char* element) {
  if (const std::string* text = value.tryAs<std::string>()) {
    if (SameText(Trim(*text), "True")) return "1";
    if (SameText(Trim(*text), "False") || Trim(*text).empty()) return "0";
  }
  return modFunction::NumberValue(value, element);
}

void importRow(ItemEngineAccess& engine, const ItemField& field, TrzRecord& record, std::string& strSQL) {
  if (field.step && field.step->import) {
    field.step->import(engine, field, record, strSQL);
    return;
  }
  if (!record.Exists(field.element)) {
    if (field.absentValue) strSQL += std::string(field.column) + "=" + field.absentValue + ",";
    return;
  }
  if (field.importValue) {
    strSQL += std::string(field.column) + "=" + field.importValue + ",";
    return;
  }
  ImportField(engine, field, record.Item(field.element), strSQL);
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

FieldMap::FieldMap(std::span<const ItemField> fields, Options options)
    : fields_(fields), containExportErrors_(options.containExportErrors) {
  for (const ItemField& field : fields_) importRows_.push_back(&field);
  // The places of the named rows, in table order, take the named rows in the order given.
  std::vector<std::size_t> places;
  std::vector<const ItemField*> named;
  for (const char* element : options.importOrder) {
    auto row = std::find_if(fields_.begin(), fields_.end(), [&](const ItemField& f) { return SameText(f.element, element); });
    if (row == fields_.end() || std::find(named.begin(), named.end(), &*row) != named.end())
      throw std::logic_error(std::string("import order: no row or a second one for ") + element);
    named.push_back(&*row);
    places.push_back(static_cast<std::size_t>(row - fields_.begin()));
  }
  std::sort(places.begin(), places.end());
  for (std::size_t i = 0; i < places.size(); ++i) importRows_[places[i]] = named[i];
}

void PacketField(ItemEngineAccess& engine, const ItemField& field, const Variant& value, TrzRecord& record) {
  if (field.kind == FieldKind::Link)
    PacketLinkField(engine, field.link, record, CLng(value), field.element);
  else
    record.SetValue(field.element, value);
}

void ImportField(ItemEngineAccess& engine, const ItemField& field, const Variant& value, std::string& strSQL) {
  if (skipped(field, value)) return;
  const std::string column = field.column;
  switch (field.kind) {
    case FieldKind::Text:
    case FieldKind::Date: strSQL += column + "=" + modFunction::Quoted(CStr(value)) + ","; break;
    case FieldKind::Number: strSQL += column + "=" + modFunction::NumberValue(value, field.element) + ","; break;
    case FieldKind::Flag: strSQL += column + "=" + flagValue(value, field.element) + ","; break;
    case FieldKind::Link: ImportLinkField(engine, field.link, value, column, strSQL); break;
  }
}

void PacketFields(ItemEngineAccess& engine, const FieldMap& fields, const ObjectRef& rs, TrzRecord& record) {
  for (const ItemField& field : fields.exportRows()) {
    if (field.direction == Direction::ImportOnly || !field.gate.Holds()) continue;
    try {
      Variant value = modFunction::FieldValue(rs, field.column);
      if (!passes(value, field.test)) continue;
      if (field.step && field.step->packet)
        field.step->packet(engine, field, value, record);
      else
        PacketField(engine, field, value, record);
    } catch (const AutomationError&) {
      if (!fields.containsExportErrors()) throw;
      // The row is left out; a partly written key of it cannot remain, since keys are set last.
    }
  }
}

void ImportFields(ItemEngineAccess& engine, const FieldMap& fields, TrzRecord& record, std::string& strSQL) {
  for (const ItemField* field : fields.importRows()) {
    if (field->direction == Direction::ExportOnly || !field->gate.Holds()) continue;
    importRow(engine, *field, record, strSQL);
  }
}

}  // namespace quillane
