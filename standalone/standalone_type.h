// What a standalone data type is, as data: its table and statements, the keys of its records in order
// with the way each one travels, its error line and its companion data. The frame (standalone_class.h)
// runs every type from such a descriptor; a type's class adds hooks only for steps that are its own.
#pragma once

#include <cstdint>
#include <span>

#include "exchange/clsItem_links.h"

namespace quillane::standalone {

// How a key is filled from its column when a row is packed.
enum class Out {
  None,    // not exported
  Text,    // the column's value; Null gives the empty text
  Stored,  // the column's value as stored; no key for Null
  Link,    // a LinkRef through the core's codec of the field's link kind, when the column's id is above 0
  Own,     // the type's hook PackOwnKey
};

// How a key of an imported record is written by the record's UPDATE.
enum class In {
  None,    // not written by the UPDATE (a type's own step may use it)
  Text,    // between quotes, apostrophes doubled
  Number,  // checked to be a number
  Own,     // the type's hook OwnValue gives the SQL text
};

struct Field {
  const char* key;     // the record key and XML element
  const char* column;  // the type's column
  Out out = Out::Text;
  In in = In::Text;
  // The SQL text written for a record without the key; null: such a record leaves the column alone.
  // Own values decide this themselves.
  const char* fallback = nullptr;
  LinkKind link = LinkKind::Item;  // the codec of an Out::Link field
  // A dotted service pack: the key travels, both ways, only in account sets of this version or later.
  const char* since = nullptr;
};

struct StandaloneType {
  const char* className;  // "clsSettle": the class's name, its ProgID after "Quillane."
  const char* typeName;   // "Settle": the record element; with ".xsd" the schema file
  const char* table;      // "t_Settle"
  const char* keyColumn;  // "FItemID"
  // The number column; null for a type without numbers, whose records are found by name alone and
  // whose error line names no number.
  const char* numberColumn;
  const char* nameColumn;
  const char* pageSource;     // the page query after "SELECT [TOP n] *": " FROM t_settle WHERE ... "
  const char* maxStampQuery;  // gives the highest row version as FMT
  const char* errorPrefix;    // the untranslated start of an error line: "导入结算方式记录(Number:"
  // A new row is inserted with its number and name and these columns and values: ",FStatus,FAcctID"
  // and ",0,-1".
  const char* newRowColumns;
  const char* newRowValues;
  std::span<const Field> fields;  // the record's keys in export order
  // The object types of the data-access component's CreateData for a new record, in call order; none:
  // the type keeps no companion data.
  std::span<const std::int16_t> companionTypes = {};
  // The key of the parent's id in CreateData's record (the frame's m_lParentID, 0 unless a hook sets it).
  const char* companionParentKey = "ParentID";
  bool yieldsWhilePacking = true;  // the message loop runs after every exported row
};

}  // namespace quillane::standalone
