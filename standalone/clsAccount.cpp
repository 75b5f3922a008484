// The account's descriptor and the keys of its export that are its own.
#include "standalone/clsAccount.h"

#include <cstdlib>

#include "exchange/modFunction_connection.h"
#include "exchange/modFunction_import.h"
#include "platform/automation/factory.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"

namespace quillane::standalone {
namespace {

Field flag(const char* key, const char* column) { return {.key = key, .column = column, .out = Out::Stored, .in = In::Number}; }

const Field kFields[] = {
    {.key = "Name", .column = "FName"},
    {.key = "Number", .column = "FNumber"},
    {.key = "HelperCode", .column = "FHelperCode"},
    {.key = "Level", .column = "FLevel", .out = Out::Stored, .in = In::Number},
    {.key = "Detail", .column = "FDetail", .out = Out::Own, .in = In::Number},
    flag("AdjustRate", "FAdjustRate"),
    flag("Contact", "FContact"),
    flag("Quantities", "FQuantities"),
    flag("IsCash", "FIsCash"),
    flag("IsBank", "FIsBank"),
    flag("Journal", "FJournal"),
    flag("IsCashFlow", "FIsCashFlow"),
    flag("Acctint", "FAcctint"),
    {.key = "IntRate", .column = "FIntRate", .out = Out::Stored, .in = In::Number},
    {.key = "DC", .column = "FDC", .out = Out::Own, .in = In::Own},
    // Currency, unit, group and item classes are written by the steps after the UPDATE.
    {.key = "Currency", .column = "FCurrencyID", .out = Out::Link, .in = In::None, .link = LinkKind::Currency},
    {.key = "MeasureUnit", .column = "FMeasureUnitID", .out = Out::Link, .in = In::None, .link = LinkKind::Unit},
    {.key = "GroupName", .column = "FGroupID", .out = Out::Own, .in = In::None},
    {.key = "Parent", .column = "FParentID", .out = Out::Link, .in = In::Own, .link = LinkKind::Account},
    {.key = "ItemClass", .column = "FDetailID", .out = Out::Own, .in = In::None},
    {.key = "UUID", .column = "UUID"},
    {.key = "FControlSystem", .column = "FControlSystem", .out = Out::Own, .in = In::Number},
};

constexpr std::int16_t kCompanionTypes[] = {105, 1052};

const StandaloneType kAccount = {
    .className = "clsAccount",
    .typeName = "Account",
    .table = "t_Account",
    .keyColumn = "FAccountID",
    .numberColumn = "FNumber",
    .nameColumn = "FName",
    .pageSource = " FROM t_Account WHERE FDelete=0 AND FAccountID <> 0 ",
    .maxStampQuery = "SELECT MAX(FModifyTime) as FMT FROM t_Account WHERE FDelete=0 AND FAccountID <> 0 ",
    .errorPrefix = "导入科目记录(Number:",
    // A new account starts as a debit detail at the top, until the record's UPDATE says otherwise.
    .newRowColumns = ",FDC,FEarnAccountID,FGroupID,FDetail,FLevel",
    .newRowValues = ",1,0,0,1,1",
    .fields = kFields,
    .companionTypes = kCompanionTypes,
    .companionParentKey = "FParentID",
    .yieldsWhilePacking = false,
};

// A column's id, 0 for Null.
std::int32_t idOf(const ObjectRef& rs, const char* column) {
  Variant id = modFunction::FieldValue(rs, column);
  return id.isNull() ? 0 : CLng(id);
}

std::string textOf(const ObjectRef& rs, const char* column) {
  Variant value = modFunction::FieldValue(rs, column);
  return value.isNull() ? std::string() : CStr(value);
}

}  // namespace

clsAccount::clsAccount() : StandaloneClass(kAccount) {}

void clsAccount::PackOwnKey(const Field& field, const ObjectRef& rs, TrzRecord& record) {
  const Variant value = modFunction::FieldValue(rs, field.column);
  if (SameText(field.key, "Detail")) {
    // A detail flag of -1 is a detail too; a missing one counts as a detail, as a new account is one.
    record.SetValue(field.key, value.isNull() ? 1 : std::abs(CLng(value)));
  } else if (SameText(field.key, "DC")) {
    record.SetValue(field.key, value.isNull() || CLng(value) == 1 ? "借" : "贷");
  } else if (SameText(field.key, "FControlSystem")) {
    record.SetValue(field.key, value.isNull() ? Variant(std::int32_t{0}) : value);
  } else if (SameText(field.key, "GroupName")) {
    const std::int32_t groupID = value.isNull() ? 0 : CLng(value);
    if (groupID <= 0) return;
    ObjectRef group = Query("SELECT FName,UUID FROM t_AcctGroup WHERE FGroupID=" + std::to_string(groupID));
    if (modFunction::IsEOF(group)) return;
    // The group's number is its id: ids of groups mean the same in every account set.
    auto link = std::make_shared<TrzRecord>();
    link->SetValue("Number", std::to_string(groupID));
    link->SetValue("Name", textOf(group, "FName"));
    link->SetValue("UUID", textOf(group, "UUID"));
    record.SetObject(field.key, link);
  } else {  // ItemClass
    const std::int32_t accountID = idOf(rs, "FAccountID");
    if (accountID <= 0) return;
    ObjectRef rows = Query(
        std::string("SELECT i.FNumber FItemClassNumber, i.FName FItemClassName, i.UUID,i.FItemClassID FItemClassID,") +
        "CASE ai.FItemID WHEN -1 THEN 1 ELSE 0 END FBalChecked  FROM t_Account a, t_ItemClass i,t_ItemDetailV ai WHERE " +
        " a.FDetailID = ai.FDetailID AND a.FDetailID<>0 AND ai.FItemClassID = i.FItemClassID AND  a.FAccountID=" +
        std::to_string(accountID) + " AND ai.FItemID In(-1,-2)");
    auto classes = std::make_shared<TrzRecords>();
    for (; !modFunction::IsEOF(rows); modFunction::MoveNext(rows)) {
      auto itemClass = std::make_shared<TrzRecord>();
      itemClass->SetValue("Number", textOf(rows, "FItemClassNumber"));
      itemClass->SetValue("Name", textOf(rows, "FItemClassName"));
      itemClass->SetValue("UUID", textOf(rows, "UUID"));
      classes->Add(Variant(itemClass));
    }
    if (classes->Count() > 0) record.SetObject(field.key, classes);
  }
}

std::optional<std::string> clsAccount::OwnValue(const Field& field, const TrzRecord& record) {
  if (SameText(field.key, "Parent")) {
    // The chart must stay a tree: an account under itself or under one of its own sub-accounts would
    // leave both out of every walk from the root.
    if (m_lParentID != 0 &&
        modFunction::IsSelfOrDescendant(currentItemID(), m_lParentID, "t_Account", "FAccountID",
                                        [&](const std::string& statement) { return Query(statement); }))
      throw modFunction::ParentCycleError("Quillane.clsAccount", modFunction::RecordText(*record.GetRecord("Parent"), "Number"));
    return std::to_string(m_lParentID);
  }
  Variant dc = record.GetValue(field.key, Variant("贷"));
  return std::string(!dc.isNull() && CStr(dc) == "借" ? "1" : "-1");
}

QUILLANE_REGISTER_CLASS("Quillane.clsAccount", clsAccount)

}  // namespace quillane::standalone
