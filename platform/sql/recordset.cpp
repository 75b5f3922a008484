#include "platform/sql/recordset.h"

#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"
#include "platform/sql/errors.h"

namespace quillane::sql {
namespace {

constexpr const char* kRecordsetSource = "ADODB.Recordset";
constexpr const char* kFieldsSource = "ADODB.Fields";
constexpr const char* kFieldSource = "ADODB.Field";

// ADO's type of a value that no declared column type describes (an expression).
std::int32_t adoTypeOfValue(const Variant& v) {
  switch (v.type()) {
    case VarType::Boolean: return 11;
    case VarType::Integer: return 2;
    case VarType::Long: return 3;
    case VarType::Double: return 5;
    case VarType::Currency: return 6;
    case VarType::Date: return 135;
    case VarType::String: return 200;
    case VarType::Bytes: return 128;
    default: return 12;  // adVariant
  }
}

}  // namespace

Recordset::Recordset(Rowset rows) : open_(true), rows_(std::move(rows)) {
  for (std::size_t r = 0; r < rows_.rows.size(); ++r) visible_.push_back(r);
}

Recordset::Recordset() = default;

void Recordset::requireOpen() const {
  if (!open_) throw AdoObjectError(AdoError::ObjectClosed, kRecordsetSource);
}

bool Recordset::Eof() const {
  requireOpen();
  return position_ >= static_cast<std::int64_t>(visible_.size());
}

bool Recordset::Bof() const {
  requireOpen();
  return position_ < 0 || visible_.empty();
}

std::int32_t Recordset::RecordCount() const {
  requireOpen();
  return static_cast<std::int32_t>(visible_.size());
}

void Recordset::MoveFirst() {
  requireOpen();
  position_ = 0;
}

void Recordset::MoveLast() {
  requireOpen();
  position_ = visible_.empty() ? 0 : static_cast<std::int64_t>(visible_.size()) - 1;
}

void Recordset::MoveNext() {
  if (Eof()) throw AdoObjectError(AdoError::NoCurrentRecord, kRecordsetSource);
  ++position_;
}

void Recordset::MovePrevious() {
  requireOpen();
  if (position_ < 0 || visible_.empty()) throw AdoObjectError(AdoError::NoCurrentRecord, kRecordsetSource);
  --position_;
}

std::int32_t Recordset::FieldCount() const {
  requireOpen();
  return static_cast<std::int32_t>(rows_.columns.size());
}

const std::string& Recordset::FieldName(std::size_t index) const {
  requireOpen();
  return rows_.columns.at(index).name;
}

std::size_t Recordset::FieldIndex(std::string_view name) const {
  requireOpen();
  for (std::size_t c = 0; c < rows_.columns.size(); ++c)
    if (rows_.columns[c].name.size() == name.size() && SameText(rows_.columns[c].name, name)) return c;
  throw AdoObjectError(AdoError::ItemNotFound, kFieldsSource);
}

const std::vector<Variant>& Recordset::currentRow() const {
  if (Eof() || Bof()) throw AdoObjectError(AdoError::NoCurrentRecord, kFieldSource);
  return rows_.rows[visible_[static_cast<std::size_t>(position_)]];
}

const Variant& Recordset::Value(std::string_view fieldName) const { return currentRow()[FieldIndex(fieldName)]; }

const Variant& Recordset::Value(std::size_t index) const {
  if (index >= static_cast<std::size_t>(FieldCount())) throw AdoObjectError(AdoError::ItemNotFound, kFieldsSource);
  return currentRow()[index];
}

std::int32_t Recordset::FieldType(std::size_t index) const {
  requireOpen();
  const RowsetColumn& column = rows_.columns.at(index);
  if (column.type.adoType != 0) return column.type.adoType;
  for (const auto& row : rows_.rows)
    if (!row[index].isNull()) return adoTypeOfValue(row[index]);
  return adoTypeOfValue(Variant::null());
}

std::shared_ptr<Field> Recordset::Item(const Variant& index) {
  std::size_t column;
  if (index.isString()) {
    column = FieldIndex(index.as<std::string>());
  } else {
    std::int32_t position = CLng(index);
    if (position < 0 || position >= FieldCount()) throw AdoObjectError(AdoError::ItemNotFound, kFieldsSource);
    column = static_cast<std::size_t>(position);
  }
  return std::make_shared<Field>(std::static_pointer_cast<Recordset>(shared_from_this()), column);
}

std::shared_ptr<Fields> Recordset::FieldsCollection() {
  requireOpen();
  return std::make_shared<Fields>(std::static_pointer_cast<Recordset>(shared_from_this()));
}

void Recordset::Find(const std::string& criteria, std::int32_t skipRecords, std::int32_t searchDirection) {
  currentRow();
  if (searchDirection != 1 && searchDirection != -1) throw AdoObjectError(AdoError::InvalidArgument, kRecordsetSource);
  Criteria test(criteria, rows_.columns, kRecordsetSource);
  auto count = static_cast<std::int64_t>(visible_.size());
  for (std::int64_t p = position_ + static_cast<std::int64_t>(skipRecords) * searchDirection; p >= 0 && p < count;
       p += searchDirection) {
    if (test.matches(rows_.rows[visible_[static_cast<std::size_t>(p)]])) {
      position_ = p;
      return;
    }
  }
  position_ = searchDirection > 0 ? count : -1;
}

void Recordset::setFilter(const Variant& criteria) {
  requireOpen();
  std::string text = criteria.isString() ? criteria.as<std::string>() : std::string();
  if (!criteria.isString() && !(criteria.isNumeric() && CLng(criteria) == 0))
    throw AdoObjectError(AdoError::InvalidArgument, kRecordsetSource);
  std::vector<std::size_t> visible;
  if (Trim(text).empty()) {
    for (std::size_t r = 0; r < rows_.rows.size(); ++r) visible.push_back(r);
    text.clear();
  } else {
    Criteria test(text, rows_.columns, kRecordsetSource);
    for (std::size_t r = 0; r < rows_.rows.size(); ++r)
      if (test.matches(rows_.rows[r])) visible.push_back(r);
  }
  visible_ = std::move(visible);
  filterText_ = std::move(text);
  position_ = 0;
}

Variant Recordset::Filter() const {
  requireOpen();
  return filterText_.empty() ? Variant(std::int32_t{0}) : Variant(filterText_);
}

void Recordset::Close() {
  requireOpen();
  open_ = false;
  rows_ = Rowset{};
  visible_.clear();
  filterText_.clear();
  position_ = 0;
}

const DispatchTable& Recordset::dispatchTable() const {
  auto fields = [](Recordset& rs, Arguments args) -> Variant {
    if (args.size() > 1) throw vbError(VbError::WrongArgumentCount);
    return args.empty() ? Variant(rs.FieldsCollection()) : Variant(rs.Item(args[0]));
  };
  static const DispatchTable table = DispatchBuilder<Recordset>()
                                         .get("EOF", 1, &Recordset::Eof)
                                         .get("BOF", 2, &Recordset::Bof)
                                         .get("RecordCount", 3, &Recordset::RecordCount)
                                         .get("State", 4, &Recordset::State)
                                         .method("MoveFirst", 5, &Recordset::MoveFirst)
                                         .method("MoveLast", 6, &Recordset::MoveLast)
                                         .method("MoveNext", 7, &Recordset::MoveNext)
                                         .method("MovePrevious", 8, &Recordset::MovePrevious)
                                         .raw("Fields", 0, InvokeKind::Get, fields)
                                         .raw("Fields", 0, InvokeKind::Method, fields)
                                         .method("Find", 9, &Recordset::Find, {Variant(std::int32_t{0}), Variant(std::int32_t{1})})
                                         .get("Filter", 10, &Recordset::Filter)
                                         .let("Filter", 10, &Recordset::setFilter)
                                         .method("Close", 11, &Recordset::Close)
                                         .build();
  return table;
}

const DispatchTable& Field::dispatchTable() const {
  static const DispatchTable table = DispatchBuilder<Field>()
                                         .get("Name", 1, &Field::Name)
                                         .get("Value", 0, &Field::Value)
                                         .get("Type", 2, &Field::Type)
                                         .build();
  return table;
}

const DispatchTable& Fields::dispatchTable() const {
  auto item = [](Fields& f, Arguments args) -> Variant {
    if (args.size() != 1) throw vbError(args.empty() ? VbError::ArgumentNotOptional : VbError::WrongArgumentCount);
    return Variant(f.Item(args[0]));
  };
  static const DispatchTable table = DispatchBuilder<Fields>()
                                         .get("Count", 1, &Fields::Count)
                                         .raw("Item", 0, InvokeKind::Get, item)
                                         .raw("Item", 0, InvokeKind::Method, item)
                                         .build();
  return table;
}

}  // namespace quillane::sql
