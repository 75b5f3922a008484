// The recordset the connection component returns: client-side and scrollable, as ADO's with a
// client cursor. It holds its rows itself, so it stays readable after the connection is closed.
//
// Late-bound members (ADO's names): EOF, BOF, RecordCount, State, MoveFirst, MoveLast, MoveNext,
// MovePrevious, Fields (the collection, or a field by name or position), Find, Filter, Close. A Field
// has Name, Value and Type (ADO's DataTypeEnum); Fields has Count and Item.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/object.h"
#include "platform/sql/criteria.h"
#include "platform/sql/rowset.h"

namespace quillane::sql {

class Field;
class Fields;

class Recordset : public AutomationObject {
 public:
  // An open recordset over rows, positioned on the first row (at EOF when there is none).
  explicit Recordset(Rowset rows);
  // A closed recordset: what a command that returns no rows gives.
  Recordset();

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "Recordset"; }

  // Every member but IsOpen raises ADO's error 3704 on a closed recordset.
  bool IsOpen() const { return open_; }
  std::int32_t State() const { return open_ ? 1 : 0; }  // adStateOpen 1, adStateClosed 0
  bool Eof() const;
  bool Bof() const;
  std::int32_t RecordCount() const;  // the rows that the filter lets through

  // MoveFirst and MoveLast on an empty recordset leave it at BOF and EOF; MoveNext at EOF and
  // MovePrevious at BOF raise error 3021.
  void MoveFirst();
  void MoveLast();
  void MoveNext();
  void MovePrevious();

  std::int32_t FieldCount() const;
  const std::string& FieldName(std::size_t index) const;
  // The column's position; ADO's error 3265 for a name the recordset lacks (letter case is ignored).
  std::size_t FieldIndex(std::string_view name) const;
  // The value in the current row; error 3021 at BOF or EOF, 3265 for a missing field.
  const Variant& Value(std::string_view fieldName) const;
  const Variant& Value(std::size_t index) const;
  std::int32_t FieldType(std::size_t index) const;

  // Late-bound style access: a field by name (text) or position (number).
  std::shared_ptr<Field> Item(const Variant& index);
  std::shared_ptr<Fields> FieldsCollection();

  // Moves to the next row (from the current one, after skipRecords) that meets criteria, searching
  // forward (1) or backward (-1); EOF or BOF when none does. Raises 3021 without a current row.
  void Find(const std::string& criteria, std::int32_t skipRecords = 0, std::int32_t searchDirection = 1);

  // Criteria text restricts the rows and moves to the first of them; "" or 0 removes the filter.
  void setFilter(const Variant& criteria);
  Variant Filter() const;  // the criteria text, or 0 without a filter

  void Close();

 private:
  void requireOpen() const;
  const std::vector<Variant>& currentRow() const;

  bool open_ = false;
  Rowset rows_;
  std::vector<std::size_t> visible_;  // the rows the filter lets through, in order
  std::int64_t position_ = 0;         // index into visible_: -1 is BOF, visible_.size() is EOF
  std::string filterText_;
};

class Field : public AutomationObject {
 public:
  Field(std::shared_ptr<Recordset> recordset, std::size_t index) : recordset_(std::move(recordset)), index_(index) {}

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "Field"; }

  std::string Name() const { return recordset_->FieldName(index_); }
  Variant Value() const { return recordset_->Value(index_); }  // of the current row, when asked
  std::int32_t Type() const { return recordset_->FieldType(index_); }

 private:
  std::shared_ptr<Recordset> recordset_;
  std::size_t index_;
};

class Fields : public AutomationObject {
 public:
  explicit Fields(std::shared_ptr<Recordset> recordset) : recordset_(std::move(recordset)) {}

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "Fields"; }

  std::int32_t Count() const { return recordset_->FieldCount(); }
  std::shared_ptr<Field> Item(const Variant& index) { return recordset_->Item(index); }

 private:
  std::shared_ptr<Recordset> recordset_;
};

}  // namespace quillane::sql
