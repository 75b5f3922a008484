// The own fields of an item type: how each column of its detail table travels as an element of the
// exchanged record. A type's field map is a table of ItemField rows; the two handlers below treat the
// rows in table order, each row by itself, so a type is its field map and its item class.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "exchange/clsItem_access.h"
#include "exchange/clsItem_links.h"
#include "platform/automation/object.h"
#include "platform/xml/TrzRecord.h"

namespace quillane {

enum class FieldKind {
  Text,    // a plain value, imported between apostrophes
  Number,  // a plain value, imported as a checked number
  Link,    // a LinkRef through the link codecs of its LinkKind
};

// Whether a detail column's value is exported.
enum class ExportTest {
  NotNull,  // any value but Null (an empty text too)
  NonZero,  // not Null and not the number 0
};

// The account set's service pack against which a field is exchanged at all, in both directions.
struct FieldGate {
  enum class Op { Always, Above, AtLeast };
  Op op = Op::Always;
  const char* version = nullptr;  // a dotted version: "2.0.0.5"

  bool Holds() const;
};
inline constexpr FieldGate Above(const char* version) { return {FieldGate::Op::Above, version}; }
inline constexpr FieldGate AtLeast(const char* version) { return {FieldGate::Op::AtLeast, version}; }

struct ItemField {
  const char* element;  // the record key and XML element
  const char* column;   // the detail table's column
  FieldKind kind;
  LinkKind link = LinkKind::Item;  // the codecs of a Link field
  ExportTest test = ExportTest::NotNull;
  FieldGate gate = {};
  // When set, an import assigns this number whatever the element holds (the element must be present).
  const char* importValue = nullptr;
};

using FieldMap = std::span<const ItemField>;

// CommonPacketSpecial: adds the fields of the detail row rs (positioned on the item's row) to record.
// Errors (a codec's lookup, a value a link cannot take) reach the caller.
void PacketFields(ItemEngineAccess& engine, FieldMap fields, const ObjectRef& rs, TrzRecord& record);

// CommonImportSpecial: appends "<column>=<value>," for each field the record holds to strSQL, the
// detail UPDATE being built. A field whose element is missing leaves its column as it is. A number that
// is no number and a failed codec lookup raise; the engine's last statement is then the failed lookup.
void ImportFields(ItemEngineAccess& engine, FieldMap fields, const TrzRecord& record, std::string& strSQL);

}  // namespace quillane
