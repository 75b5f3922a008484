// The own fields of an item type: how each column of its detail table travels as an element of the
// exchanged record. A type's field map is a table of ItemField rows; the two handlers below treat the
// rows in table order (on import in the map's import order), each row by itself, so a type is its field
// map and its item class. What a row's kind cannot say, the row names as a step of its own (FieldStep).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "exchange/clsItem_access.h"
#include "exchange/clsItem_links.h"
#include "platform/automation/object.h"
#include "platform/xml/TrzRecord.h"

namespace quillane {

enum class FieldKind {
  Text,    // a plain value, imported between apostrophes
  Number,  // a plain value, imported as a checked number
  Date,    // a plain value imported between apostrophes, except the row's skip texts, which write nothing
  Flag,    // a number or Boolean; imported as a checked number, the texts "True" and "False" (what a bit
           // column exports as) as 1 and 0, an empty element as 0
  Link,    // a LinkRef through the link codecs of its LinkKind
};

// Whether a detail column's value is exported.
enum class ExportTest {
  NotNull,  // any value but Null (an empty text too)
  NonZero,  // not Null and not the number 0
};

// Which handlers treat a row.
enum class Direction { Both, ImportOnly, ExportOnly };

// The texts that stand for "no date" in documents of other account sets: imported, they leave the
// column as it is.
inline constexpr const char* kNoDates[] = {"0001-01-01", "1899-12-30"};

// The account set's service pack against which a field is exchanged at all, in both directions.
struct FieldGate {
  enum class Op { Always, Above, AtLeast };
  Op op = Op::Always;
  const char* version = nullptr;  // a dotted version: "2.0.0.5"

  bool Holds() const;
};
inline constexpr FieldGate Above(const char* version) { return {FieldGate::Op::Above, version}; }
inline constexpr FieldGate AtLeast(const char* version) { return {FieldGate::Op::AtLeast, version}; }

struct ItemField;

// A row's own step, for what no kind says (a default looked up when a link matches nothing, a fallback
// on another element, a text rewritten on both sides). A null member leaves that direction to the kind.
struct FieldStep {
  // Export, once the gate and the export test passed: adds the row's key to record from the column's
  // value.
  void (*packet)(ItemEngineAccess& engine, const ItemField& field, const Variant& value, TrzRecord& record) = nullptr;
  // Import, once the gate passed, whether or not the record holds the element (a step may fall back on
  // another one): appends the row's assignments to strSQL. It may change the record's nested records;
  // the engine reads them after the handlers.
  void (*import)(ItemEngineAccess& engine, const ItemField& field, TrzRecord& record, std::string& strSQL) = nullptr;
};

struct ItemField {
  const char* element;  // the record key and XML element
  const char* column;   // the detail table's column
  FieldKind kind;
  LinkKind link = LinkKind::Item;  // the codecs of a Link field
  ExportTest test = ExportTest::NotNull;
  FieldGate gate = {};
  Direction direction = Direction::Both;
  // When set, an import assigns this number whatever the element holds (the element must be present).
  const char* importValue = nullptr;
  // When set, an import of a record without the element assigns this number.
  const char* absentValue = nullptr;
  // A Date field's texts that are imported as nothing.
  std::span<const char* const> skip = kNoDates;
  const FieldStep* step = nullptr;
};

// A type's rows with the order in which an import treats them.
class FieldMap {
 public:
  struct Options {
    // Rows the import treats in another order than the table's: the named rows are treated in this
    // order, in the places that they hold in the table; rows not named keep their place. Naming every
    // row gives the whole order.
    std::span<const char* const> importOrder = {};
    // A row that fails on export is left out of the record and the others go on; otherwise the error
    // fails the export.
    bool containExportErrors = false;
  };

  FieldMap() = default;
  // Raises std::logic_error when the import order names a row that is not in the table, or one twice.
  explicit FieldMap(std::span<const ItemField> fields, Options options);
  explicit FieldMap(std::span<const ItemField> fields) : FieldMap(fields, Options{}) {}

  std::span<const ItemField> exportRows() const { return fields_; }
  const std::vector<const ItemField*>& importRows() const { return importRows_; }
  bool containsExportErrors() const { return containExportErrors_; }

 private:
  std::span<const ItemField> fields_;
  std::vector<const ItemField*> importRows_;
  bool containExportErrors_ = false;
};

// CommonPacketSpecial: adds the fields of the detail row rs (positioned on the item's row) to record.
// Errors (a missing column, a codec's lookup) reach the caller unless the map contains them.
void PacketFields(ItemEngineAccess& engine, const FieldMap& fields, const ObjectRef& rs, TrzRecord& record);

// CommonImportSpecial: appends "<column>=<value>," for each field the record holds to strSQL, the
// detail UPDATE being built. A field whose element is missing leaves its column as it is, unless the
// row gives a value for that case. A number that is no number and a failed codec lookup raise; the
// engine's last statement is then the failed lookup.
void ImportFields(ItemEngineAccess& engine, const FieldMap& fields, TrzRecord& record, std::string& strSQL);

// The standard forms of one row by its kind, for steps that end in them: the key packed from value,
// and the assignment of value.
void PacketField(ItemEngineAccess& engine, const ItemField& field, const Variant& value, TrzRecord& record);
void ImportField(ItemEngineAccess& engine, const ItemField& field, const Variant& value, std::string& strSQL);

}  // namespace quillane
