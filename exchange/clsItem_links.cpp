#include "exchange/clsItem_links.h"

#include <map>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "exchange/clsItem_products.h"
#include "exchange/modFunction_connection.h"
#include "exchange/modFunction_sql.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"
#include "platform/sql/lexer.h"

namespace quillane {
namespace {

// One lookup of an import: the condition that follows the kind's import base.
enum class Step {
  NumberAndName,  // <number column>='<Number>' AND <name column>='<Name>'
  Name,           // <name column>='<Name>'
  Number,         // <number column>='<Number>'
  NameAndNumber,  // <name column>='<Name>' And <number column> = '<Number>' (auxiliary data only)
};

// What the packed LinkRef holds after Number and Name.
enum class ThirdKey {
  UUID,         // the row's UUID
  None,         // nothing
  EmptyUUID,    // UUID as the empty text: the views have no UUID to give
  ItemAuxProp,  // the auxiliary properties of the item being packed
};

constexpr Step kNumberAndNameThenName[] = {Step::NumberAndName, Step::Name};
constexpr Step kNumberAndName[] = {Step::NumberAndName};
constexpr Step kName[] = {Step::Name};
constexpr Step kNumber[] = {Step::Number};
constexpr Step kNameAndNumber[] = {Step::NameAndNumber};

struct LinkKindRow {
  LinkKind kind;
  const char* name;
  const char* packSelect;  // followed by the identifier
  const char* packNumber;  // the field read into Number; null for the plain-valued kind
  ThirdKey third;
  const char* importBase;  // followed by the condition of a step
  const char* numberColumn;
  const char* nameColumn;
  const char* resultColumn;
  bool byUUID;                        // a UUID step runs first (CheckByUUID set, the UUID not empty)
  std::span<const Step> steps;        // the steps after the UUID step, or alone
  std::span<const Step> withoutUUID;  // when not empty: the steps instead when the UUID step does not run
  bool markedNoUUID;                  // the UUID "LJWWJL" (any case) stands for none
  const char* plainKey;               // the kind travels as a plain name under this key, not as a LinkRef
  const char* fixedColumn;            // the column the kind always assigns, whatever the caller names
};

// clang-format off
const LinkKindRow kLinkKinds[] = {
  // Auxiliary data: an unmatched UUID leaves the name alone to decide; without the UUID step the name
  // and the entry's number (FID) are compared.
  {LinkKind::Assist, "Assist",
   "SELECT FID FNumber,FName,UUID FROM t_SubMessage WHERE FInterID=", "FNumber", ThirdKey::UUID,
   "SELECT FInterID FItemID FROM t_SubMessage WHERE ", "FID", "FName", "FItemID",
   true, kName, kNameAndNumber, true, nullptr, nullptr},
  {LinkKind::Item, "Item",
   "SELECT FNumber,FName,UUID FROM t_Item WHERE FItemID=", "FNumber", ThirdKey::UUID,
   "SELECT FItemID FROM t_Item WHERE ", "FNumber", "FName", "FItemID",
   true, kNumberAndNameThenName, {}, false, nullptr, nullptr},
  {LinkKind::SPGroup, "SPGroup",
   "SELECT FNumber,FName,UUID FROM t_StockPlaceGroup WHERE FSPGroupID = ", "FNumber", ThirdKey::UUID,
   "SELECT FSPGroupID FROM t_StockPlaceGroup WHERE ", "FNumber", "FName", "FSPGroupID",
   true, kNumberAndNameThenName, {}, false, nullptr, nullptr},
  {LinkKind::Unit, "Unit",
   "SELECT FNumber,FName,UUID FROM t_MeasureUnit WHERE FMeasureUnitID=", "FNumber", ThirdKey::UUID,
   "SELECT FMeasureUnitID FROM t_MeasureUnit WHERE ", "FNumber", "FName", "FMeasureUnitID",
   true, kNumberAndNameThenName, {}, false, nullptr, nullptr},
  {LinkKind::Account, "Account",
   "SELECT FNumber,FName,UUID FROM t_Account WHERE FAccountID=", "FNumber", ThirdKey::UUID,
   "SELECT FAccountID FROM t_Account WHERE ", "FNumber", "FName", "FAccountID",
   true, kNumberAndName, {}, false, nullptr, nullptr},
  {LinkKind::Currency, "Currency",
   "SELECT FNumber,FName,UUID FROM t_Currency WHERE FCurrencyID=", "FNumber", ThirdKey::UUID,
   "SELECT FCurrencyID FROM t_Currency WHERE ", "FNumber", "FName", "FCurrencyID",
   true, kNumberAndName, {}, false, nullptr, nullptr},
  {LinkKind::Settle, "Settle",
   "SELECT FNumber,FName,UUID FROM t_Settle WHERE FItemID=", "FNumber", ThirdKey::UUID,
   "SELECT FItemID FROM t_Settle WHERE ", "FNumber", "FName", "FItemID",
   true, kNumberAndName, {}, false, nullptr, nullptr},
  {LinkKind::InspectionProject, "InspectionProject",
   "SELECT FBillNo FNumber,FSchemeName FName,UUID FROM ICQCScheme WHERE FInterID=", "FNumber", ThirdKey::UUID,
   "SELECT FInterID FROM ICQCScheme WHERE ", "FBillNo", "FSchemeName", "FInterID",
   true, kNumberAndName, {}, false, nullptr, nullptr},
  {LinkKind::Routing, "Routing",
   "SELECT FBillNo FNumber,FRoutingName FName,UUID FROM t_Routing WHERE FInterID=", "FNumber", ThirdKey::UUID,
   "SELECT FInterID FROM t_Routing WHERE ", "FBillNo", "FRoutingName", "FInterID",
   true, kNumberAndName, {}, false, nullptr, nullptr},
  {LinkKind::WorkType, "WorkType",
   "SELECT FNumber,FName FROM t_WorkType WHERE FInterID=", "FNumber", ThirdKey::None,
   "SELECT FInterID FROM t_WorkType WHERE ", "FNumber", "FName", "FInterID",
   false, kNumberAndName, {}, false, nullptr, nullptr},
  {LinkKind::StockPlace, "StockPlace",
   "SELECT FNumber,FName,UUID FROM t_StockPlace WHERE FSPID=", "FNumber", ThirdKey::UUID,
   "SELECT FSPID FROM t_StockPlace WHERE ", "FNumber", "FName", "FSPID",
   true, kNumberAndName, {}, false, nullptr, nullptr},
  {LinkKind::AuxClass, "AuxClass",
   "SELECT FNumber,FName FROM vwItemAuxProp WHERE FItemID=", "FNumber", ThirdKey::ItemAuxProp,
   "SELECT FItemID FROM vwItemAuxProp WHERE ", "FNumber", "FName", "FItemID",
   false, kNumberAndName, {}, false, nullptr, nullptr},
  // The Number of a unit group is its identifier in the exporting account set: imports never read it.
  {LinkKind::UnitGroup, "UnitGroup",
   "SELECT FUnitGroupID FNumber,FName,UUID FROM t_UnitGroup WHERE FUnitGroupID=", "FNumber", ThirdKey::UUID,
   "SELECT FUnitGroupID FItemID FROM t_UnitGroup WHERE ", nullptr, "FName", "FItemID",
   true, kName, {}, false, nullptr, nullptr},
  {LinkKind::vwAssignStock, "vwAssignStock",
   "SELECT FNumber,FName FROM vwAssignStock Where FItemID = ", "FNumber", ThirdKey::EmptyUUID,
   "SELECT FItemID FROM vwAssignStock WHERE ", "FNumber", nullptr, "FItemID",
   false, kNumber, {}, false, nullptr, nullptr},
  {LinkKind::vwInstStock, "vwInstStock",
   "SELECT FNumber,FName FROM vwInstStock Where FItemID = ", "FNumber", ThirdKey::EmptyUUID,
   "SELECT FItemID FROM vwInstStock WHERE ", "FNumber", nullptr, "FItemID",
   false, kNumber, {}, false, nullptr, nullptr},
  {LinkKind::vwKeepStock, "vwKeepStock",
   "SELECT FNumber,FName FROM vwKeepStock Where FItemID = ", "FNumber", ThirdKey::EmptyUUID,
   "SELECT FItemID FROM vwKeepStock WHERE ", "FNumber", nullptr, "FItemID",
   false, kNumber, {}, false, nullptr, nullptr},
  {LinkKind::vwAssigneeStock, "vwAssigneeStock",
   "SELECT FNumber,FName FROM vwAssigneeStock Where FItemID = ", "FNumber", ThirdKey::EmptyUUID,
   "SELECT FItemID FROM vwAssigneeStock WHERE ", "FNumber", nullptr, "FItemID",
   false, kNumber, {}, false, nullptr, nullptr},
  {LinkKind::JobType, "JobType",
   "SELECT FName  FROM t_JobType Where FInterID = ", nullptr, ThirdKey::None,
   "SELECT FInterID  FROM t_JobType WHERE ", nullptr, "FName", "FInterID",
   false, kName, {}, false, "JobType", "FJobTypeID"},
  {LinkKind::IcTeamTime, "IcTeamTime",
   "SELECT FBillNo,FName,UUID FROM t_IcTeamTime Where FID = ", "FBillNo", ThirdKey::UUID,
   "SELECT FID FROM t_IcTeamTime WHERE ", "FBillNo", nullptr, "FID",
   false, kNumber, {}, false, nullptr, nullptr},
};

// A unit of measure's link, matched in t_MeasureUnit, gives the unit's group (no kind of its own: it
// only imports).
const LinkKindRow kUnitGroupByUnit =
  {LinkKind::UnitGroup, "UnitGroupByUnit",
   nullptr, nullptr, ThirdKey::None,
   "SELECT FUnitGroupID  FROM t_MeasureUnit WHERE ", nullptr, "FName", "FUnitGroupID",
   true, kName, {}, false, nullptr, nullptr};
// clang-format on

const LinkKindRow& rowOf(LinkKind kind) {
  for (const LinkKindRow& row : kLinkKinds)
    if (row.kind == kind) return row;
  throw vbError(VbError::InvalidProcedureCall);
}

// A text of a record as a statement joins it: Null joins as the empty text.
std::string textOf(const Variant& value) { return value.isNull() ? std::string() : CStr(value); }

// Each part of a link may be missing, as the schema allows: a missing part reads as the empty text,
// as a part whose column was Null is packed.
std::string linkText(const TrzRecord& link, std::string_view key) { return textOf(link.GetValue(key, Variant(""))); }
std::string linkUUID(const TrzRecord& link) { return linkText(link, "UUID"); }

// A lookup's text and the values of its literals in order, as the lexer gives them back from the text.
struct LookupText {
  std::string text;
  std::vector<sql::Token> values;

  void appendValue(std::string value) {
    text += modFunction::Quoted(value);
    values.push_back(sql::Token{sql::TokenKind::String, std::move(value)});
  }
};

void appendCondition(LookupText& lookup, Step step, const LinkKindRow& row, const TrzRecord& link) {
  switch (step) {
    case Step::NumberAndName:
      lookup.text.append(row.numberColumn).append("=");
      lookup.appendValue(linkText(link, "Number"));
      lookup.text.append(" AND ").append(row.nameColumn).append("=");
      lookup.appendValue(linkText(link, "Name"));
      return;
    case Step::Name:
      lookup.text.append(row.nameColumn).append("=");
      lookup.appendValue(linkText(link, "Name"));
      return;
    case Step::Number:
      lookup.text.append(row.numberColumn).append("=");
      lookup.appendValue(linkText(link, "Number"));
      return;
    case Step::NameAndNumber:
      lookup.text.append(row.nameColumn).append("=");
      lookup.appendValue(linkText(link, "Name"));
      lookup.text.append(" And ").append(row.numberColumn).append(" = ");
      lookup.appendValue(linkText(link, "Number"));
      return;
  }
}

// The skeleton of a lookup's texts, which does not depend on the values: learnt from the first text of
// the kind and step, and kept only where the lexer gives back exactly the values the text was built of.
// Empty: not known, the text is lexed.
const std::string kUnknownSkeleton;

const std::string& skeletonOf(const LinkKindRow& row, int step, const LookupText& lookup) {
  thread_local std::map<std::pair<const LinkKindRow*, int>, std::string> skeletons;
  auto known = skeletons.find({&row, step});
  if (known != skeletons.end()) return known->second;
  std::string skeleton;
  std::vector<sql::Token> lexed;
  if (!sql::LexSkeleton(lookup.text, skeleton, lexed)) return kUnknownSkeleton;  // a value the skeleton cannot stand
  bool same = lexed.size() == lookup.values.size();
  for (std::size_t k = 0; same && k < lexed.size(); ++k)
    same = lexed[k].kind == sql::TokenKind::String && lexed[k].text == lookup.values[k].text;
  return skeletons.emplace(std::pair{&row, step}, same ? std::move(skeleton) : std::string()).first->second;
}

// Where LexSkeleton refuses a text, so must the lookup: those bytes mark the skeleton's parts.
bool skeletonStands(const LookupText& lookup) {
  for (const sql::Token& value : lookup.values)
    if (value.text.find_first_of("\x01\x02") != std::string::npos) return false;
  return true;
}

// The nested record of a link element; null for an empty link: no record, or a record without keys
// (what an empty link element reads as).
std::shared_ptr<TrzRecord> linkRecordOf(const Variant& link) {
  if (!link.isObject()) return nullptr;
  auto record = std::dynamic_pointer_cast<TrzRecord>(link.object());
  return record && record->Count() > 0 ? record : nullptr;
}

// Runs a lookup: true with the first row's identifier in id, false when it finds nothing. The lookup is
// also the engine's last statement: a holder's handler builds its assignments on a copy of the UPDATE,
// which the event hands back only on success, so a failed lookup reaches the record's error line from
// the engine.
bool lookUp(ItemEngineAccess& engine, const LinkKindRow& row, int step, LookupText& lookup, std::string& strSQL,
            std::int32_t& id) {
  strSQL = lookup.text;
  engine.lastSQL() = lookup.text;
  const std::string& skeleton = skeletonStands(lookup) ? skeletonOf(row, step, lookup) : kUnknownSkeleton;
  ObjectRef rs = skeleton.empty() ? modFunction::GetAnyRecordSet(engine.connection(), lookup.text)
                                  : modFunction::GetKnownRecordSet(engine.connection(), lookup.text, skeleton, lookup.values);
  if (modFunction::IsEOF(rs)) return false;
  id = CLng(modFunction::FieldValue(rs, row.resultColumn));
  return true;
}

// The UUID step is told apart from the kind's own steps in the skeletons kept.
constexpr int kUUIDStep = -1;

// The import rule every kind shares: the UUID step, then the kind's steps in order until one finds a
// row. While a lookup runs strSQL holds its text, so that a failing lookup is the statement quoted
// with the error; the assignment is appended to the text strSQL held before.
std::int32_t importLink(ItemEngineAccess& engine, const LinkKindRow& row, const TrzRecord& link,
                        std::string_view strColumn, std::string& strSQL) {
  std::string kept;
  kept.swap(strSQL);
  std::int32_t id = 0;
  bool found = false;
  bool uuidStepRuns = false;
  if (row.byUUID && engine.checkByUUID()) {
    std::string uuid = linkUUID(link);
    uuidStepRuns = !uuid.empty() && !(row.markedNoUUID && UCase(uuid) == "LJWWJL");
    if (uuidStepRuns) {
      LookupText lookup{std::string(row.importBase) + "UUID=", {}};
      lookup.appendValue(std::move(uuid));
      found = lookUp(engine, row, kUUIDStep, lookup, strSQL, id);
    }
  }
  std::span<const Step> steps = !uuidStepRuns && !row.withoutUUID.empty() ? row.withoutUUID : row.steps;
  for (std::size_t i = 0; !found && i < steps.size(); ++i) {
    LookupText lookup{row.importBase, {}};
    appendCondition(lookup, steps[i], row, link);
    found = lookUp(engine, row, static_cast<int>(steps[i]), lookup, strSQL, id);
  }
  kept.append(strColumn).append(found ? " = " + std::to_string(id) + "," : std::string(" = 0,"));
  strSQL = std::move(kept);
  return found ? id : 0;
}

// A link element's value: an empty link sets the column to NULL, any other is matched.
std::int32_t importLinkElement(ItemEngineAccess& engine, const LinkKindRow& row, const Variant& link,
                               std::string_view strColumn, std::string& strSQL) {
  std::shared_ptr<TrzRecord> record = linkRecordOf(link);
  if (!record) {
    strSQL += std::string(strColumn) + " =NULL,";
    return 0;
  }
  return importLink(engine, row, *record, strColumn, strSQL);
}

}  // namespace

LinkKind LinkKindByName(std::string_view name) {
  for (const LinkKindRow& row : kLinkKinds)
    if (SameText(row.name, name)) return row.kind;
  throw AutomationError(static_cast<std::int32_t>(VbError::InvalidProcedureCall), "Quillane",
                        "No kind of link is named \"" + std::string(name) + "\"");
}

namespace {

// The linked record's fields as the pack statement reads them.
PackedLink readLink(ItemEngineAccess& engine, const LinkKindRow& row, std::int32_t lID) {
  std::string& strSQL = engine.lastSQL();
  strSQL = row.packSelect + std::to_string(lID);
  ObjectRef rs = modFunction::GetAnyRecordSet(engine.connection(), strSQL);
  PackedLink packed;
  if (modFunction::IsEOF(rs)) return packed;
  packed.found = true;
  packed.name = modFunction::FieldValue(rs, "FName");
  if (row.plainKey) return packed;
  packed.number = modFunction::FieldValue(rs, row.packNumber);
  if (row.third == ThirdKey::UUID) packed.third = modFunction::FieldValue(rs, "UUID");
  return packed;
}

PackedLink& packedLink(ItemEngineAccess& engine, const LinkKindRow& row, std::int32_t lID, PackedLink& uncached) {
  PackedLinks* links = engine.packedLinks();
  if (!links) return uncached = readLink(engine, row, lID);
  const std::uint64_t key = (static_cast<std::uint64_t>(row.kind) << 32) | static_cast<std::uint32_t>(lID);
  auto found = links->find(key);
  if (found == links->end()) found = links->emplace(key, readLink(engine, row, lID)).first;
  return found->second;
}

}  // namespace

void PacketLinkField(ItemEngineAccess& engine, LinkKind kind, TrzRecord& record, std::int32_t lID,
                     std::string_view strKey) {
  const LinkKindRow& row = rowOf(kind);
  if (lID == 0) return;
  PackedLink uncached;
  PackedLink& packed = packedLink(engine, row, lID, uncached);
  if (!packed.found) return;
  if (row.plainKey) {
    record.SetValue(row.plainKey, packed.name);
    return;
  }
  if (packed.element) {
    record.SetObject(strKey, packed.element);
    return;
  }
  // A Null column is packed as the empty text: the writer would leave a Null out, and the link would
  // lose the part that its lookups compare.
  auto link = std::make_shared<TrzRecord>();
  link->SetValue("Number", textOf(packed.number));
  link->SetValue("Name", textOf(packed.name));
  switch (row.third) {
    case ThirdKey::UUID:
      link->SetValue("UUID", textOf(packed.third));
      break;
    case ThirdKey::EmptyUUID:
      link->SetValue("UUID", Variant(""));
      break;
    case ThirdKey::ItemAuxProp:
      // The properties are those of the record being packed, not of the linked class: not kept.
      link->SetValue("ItemAuxProp", Variant(GetAuxProps(engine, textOf(record.GetValue("Number", Variant(""))),
                                                        textOf(record.GetValue("Name", Variant(""))))));
      break;
    case ThirdKey::None:
      break;
  }
  if (row.third != ThirdKey::ItemAuxProp) packed.element = link;
  record.SetObject(strKey, link);
}

std::int32_t ImportLinkField(ItemEngineAccess& engine, LinkKind kind, const Variant& link, std::string_view strColumn,
                             std::string& strSQL) {
  const LinkKindRow& row = rowOf(kind);
  if (!row.plainKey) return importLinkElement(engine, row, link, strColumn, strSQL);
  // The plain value is the name the lookup compares; there is no empty form of it.
  TrzRecord named;
  named.SetValue("Name", Variant(textOf(link)));
  return importLink(engine, row, named, row.fixedColumn, strSQL);
}

void ImportUnitGroupFieldByUnit(ItemEngineAccess& engine, const Variant& unitLink, std::string_view strColumn,
                                std::string& strSQL) {
  importLinkElement(engine, kUnitGroupByUnit, unitLink, strColumn, strSQL);
}

}  // namespace quillane
