// How an account record is imported, in the order of its steps. The frame matches the account, inserts
// a new one with its companion data (105, then 1052) and writes its own columns; before that the
// parent is found or made (step 1), after it come the companion data's update and the rows that hang on
// the account (steps 7 to 13).
#include "exchange/clsItem_links.h"
#include "exchange/mdlLanguage.h"
#include "exchange/modFunction_connection.h"
#include "exchange/modFunction_sql.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"
#include "platform/erp/data_access.h"
#include "standalone/clsAccount.h"

namespace quillane::standalone {
namespace {

using modFunction::Quoted;

// A text of a nested record: a missing key or Null reads as the empty text.
std::string textOf(const TrzRecord& record, std::string_view key) {
  Variant value = record.GetValue(key, Variant(""));
  return value.isNull() ? std::string() : CStr(value);
}

std::int32_t idOf(const ObjectRef& rs, const char* column) {
  Variant id = modFunction::FieldValue(rs, column);
  return id.isNull() ? 0 : CLng(id);
}

// The longest chain of parents followed to find an account's root.
constexpr int kMaxRootReads = 15;

}  // namespace

// Step 1: the parent.
bool clsAccount::BeforeMatch(const TrzRecord& record) {
  // An empty Parent element names no parent.
  std::shared_ptr<TrzRecord> parent = record.GetRecord("Parent");
  if (!parent || parent->Count() == 0) return true;
  const std::string number = textOf(*parent, "Number"), name = textOf(*parent, "Name");
  m_lParentID = ImportParent(number, name, textOf(*parent, "UUID"));
  // Without its parent the account would be written at the wrong place in the tree, or not at all
  // without a word: it fails instead.
  if (m_lParentID == 0)
    throw AutomationError(kLibraryRefusal, "Quillane.clsAccount",
                          mdlLanguage::LoadLangString("上级科目既找不到也无法建立:") + number + "," + name);
  return true;
}

std::int32_t clsAccount::ImportParent(const std::string& strNumber, const std::string& strName,
                                      const std::string& strUUID) {
  if (strNumber.empty() && strName.empty()) return 0;
  const std::string byNumberAndName =
      "Select FAccountID from t_Account Where FNumber=" + Quoted(strNumber) + " and FName=" + Quoted(strName);
  std::int32_t id = checkByUUID() ? GetIDByUUID(strUUID) : 0;
  // The account of that UUID takes the parent's number and name, unless another account has both.
  if (id != 0 && modFunction::IsEOF(Query(byNumberAndName)))
    Run("UPDATE t_Account SET FNumber=" + Quoted(strNumber) + ", FName=" + Quoted(strName) +
        " Where FAccountID=" + std::to_string(id));
  if (id == 0) id = FindByNumberName(strNumber, strName);
  if (id != 0) return id;
  // A placeholder, until the parent's own record comes.
  Run("INSERT INTO t_Account (FNumber,FName,FDC,FEarnAccountID,FGroupID,FDetail,FLevel,UUID) VALUES (" +
      Quoted(strNumber) + "," + Quoted(strName) + ",1,0,0,1,1," + Quoted(strUUID) + ")");
  return FirstID(Query(byNumberAndName));
}

// Steps 7 to 13, after the account's own UPDATE.
void clsAccount::AfterUpdate(const TrzRecord& record, std::int32_t lID) {
  UpdateCompanionData(lID);
  Run("UPDATE t_Account SET FDetail=0 WHERE FAccountID=" + std::to_string(m_lParentID) + " and FAccountID<>0");
  if (auto group = record.GetRecord("GroupName")) ImportGroup(*group, lID);
  if (record.Exists("Currency")) ImportCurrency(record.Item("Currency"), lID);
  if (auto unit = record.GetRecord("MeasureUnit")) ImportUnit(*unit, lID);
  if (auto classes = record.GetVector("ItemClass")) ImportItemClasses(*classes, lID);
  SetRoot(textOf(record, "Number"), lID);
}

// Step 7: the companion data follows every account written, new or not.
void clsAccount::UpdateCompanionData(std::int32_t lID) {
  ObjectRef access = modFunction::CreateObjectEx(erp::kDataAccessProgID, "", true);
  for (std::int16_t objectType : type().companionTypes) {
    std::vector<Variant> args{m_sPropsString, erp::kObjectKind, objectType, lID, m_lParentID};
    access->Call("UpdateData", args);
  }
}

// Step 9: the group, made when the account set lacks it. Its number is its id, the first digit its class.
void clsAccount::ImportGroup(const TrzRecord& group, std::int32_t lID) {
  const std::string number = modFunction::NumberValue(group.GetValue("Number", Variant("")), "GroupName");
  const std::string name = textOf(group, "Name");
  if (modFunction::IsEOF(Query("SELECT FGroupID FROM t_AcctGroup WHERE FGroupID=" + number))) {
    std::string classID;
    if (number == "0") {
      // An empty table has no class to take: the group goes into class 0.
      ObjectRef highest = Query("SELECT IsNull(MAX(FClassID),0) AS IMaxe FROM t_AcctGroup");
      classID = modFunction::NumberValue(modFunction::FieldValue(highest, "IMaxe"), "GroupName");
    } else {
      classID = modFunction::NumberValue(Variant(Left(number, 1)), "GroupName");
    }
    Run("INSERT INTO t_AcctGroup (FClassID,FGroupID,FName,FName_cht,FName_en) VALUES (" + classID + "," + number + "," +
        Quoted(name) + "," + Quoted(name) + "," + Quoted(name) + ")");
  } else {
    // Only the group of that number: other groups of the same name keep their own numbers.
    RunIgnoringErrors("UPDATE t_AcctGroup SET FClassID=" + modFunction::NumberValue(Variant(Left(number, 1)), "GroupName") +
                      " WHERE FGroupID=" + number);
  }
  Run("UPDATE t_Account SET FGroupID=" + number + " WHERE FAccountID=" + std::to_string(lID));
}

// Step 10: the currency, 0 when none matches.
void clsAccount::ImportCurrency(const Variant& currency, std::int32_t lID) {
  std::string assignment;  // the codec's; only the id it found is used
  const std::int32_t currencyID = ImportLinkField(*this, LinkKind::Currency, currency, "FCurrencyID", assignment);
  Run("UPDATE t_Account SET FCurrencyID=" + std::to_string(currencyID) + " WHERE FAccountID=" + std::to_string(lID));
}

// Step 11: the unit and its group, found by UUID or by name; of several units of one name the one of
// the record's number.
void clsAccount::ImportUnit(const TrzRecord& unit, std::int32_t lID) {
  const std::string base = "SELECT FMeasureUnitID,FUnitGroupID, FNumber FROM t_MeasureUnit WHERE ";
  const std::string uuid = textOf(unit, "UUID");
  ObjectRef rs;
  if (checkByUUID() && !uuid.empty()) rs = Query(base + "UUID=" + Quoted(uuid));
  if (!rs || modFunction::IsEOF(rs)) rs = Query(base + "FName=" + Quoted(textOf(unit, "Name")));
  if (CLng(rs->Get("RecordCount")) > 1) {
    const std::string number = textOf(unit, "Number");
    while (!modFunction::IsEOF(rs) && CStr(modFunction::FieldValue(rs, "FNumber")) != number) modFunction::MoveNext(rs);
  }
  const bool found = !modFunction::IsEOF(rs);
  Run("UPDATE t_Account SET FMeasureUnitID=" + std::to_string(found ? idOf(rs, "FMeasureUnitID") : 0) +
      ",FUnitGroupID=" + std::to_string(found ? idOf(rs, "FUnitGroupID") : 0) + " WHERE FAccountID=" + std::to_string(lID));
}

// Step 12: the combination of item classes, written anew. An account never points at a combination
// that is gone, and never rewrites one another account shares.
void clsAccount::ImportItemClasses(const TrzRecords& classes, std::int32_t lID) {
  const std::int32_t detailID = DetailIDFor(lID);
  std::string columns, values;
  int count = 0;
  for (std::size_t i = 0; i < classes.Items().size(); ++i) {
    std::shared_ptr<TrzRecord> itemClass = classes.RecordAt(i);
    if (!itemClass) continue;
    const std::int32_t classID = [&] {
      const std::string base = "SELECT FItemClassID FROM t_ItemClass WHERE ";
      const std::string uuid = textOf(*itemClass, "UUID");
      if (checkByUUID() && !uuid.empty()) {
        ObjectRef byUUID = Query(base + "UUID=" + Quoted(uuid));
        if (!modFunction::IsEOF(byUUID)) return idOf(byUUID, "FItemClassID");
      }
      ObjectRef byNumber = Query(base + "FNumber=" + Quoted(textOf(*itemClass, "Number")) +
                                 " AND FName=" + Quoted(textOf(*itemClass, "Name")));
      return modFunction::IsEOF(byNumber) ? 0 : idOf(byNumber, "FItemClassID");
    }();
    if (classID == 0) continue;  // a class this account set does not know is passed over
    Run("INSERT INTO t_ItemDetailV (FDetailID,FItemClassID,FItemID) VALUES (" + std::to_string(detailID) + "," +
        std::to_string(classID) + ",-1)");
    columns += "F" + std::to_string(classID) + ",";
    values += "-1,";
    ++count;
  }
  if (count == 0) {
    Run("UPDATE t_Account SET FDetailID=0 WHERE FAccountID=" + std::to_string(lID));
    return;
  }
  columns.pop_back();
  values.pop_back();
  Run("INSERT INTO t_ItemDetail (FDetailID,FDetailCount," + columns + ") VALUES (" + std::to_string(detailID) + "," +
      std::to_string(count) + "," + values + ")");
  Run("UPDATE t_Account SET FDetailID=" + std::to_string(detailID) + " WHERE FAccountID=" + std::to_string(lID));
}

// The combination id the account's classes are written under: its own, emptied, when no other account
// shares it; else a new one.
std::int32_t clsAccount::DetailIDFor(std::int32_t lID) {
  const std::string detailID = std::to_string(idOf(Query("SELECT FDetailID  FROM t_Account WHERE FAccountID=" +
                                                          std::to_string(lID)),
                                                    "FDetailID"));
  if (detailID != "0" && modFunction::IsEOF(Query("SELECT FAccountID FROM t_Account WHERE FDetailID=" + detailID +
                                                  " AND FAccountID<>" + std::to_string(lID)))) {
    Run("DELETE  FROM t_ItemDetailV WHERE FDetailID=" + detailID);
    Run("DELETE  FROM t_ItemDetail WHERE FDetailID=" + detailID);
    return CLng(Variant(detailID));
  }
  ObjectRef highest = Query("SELECT MAX(FDetailID) as m FROM t_ItemDetail");
  return modFunction::IsEOF(highest) ? 1 : idOf(highest, "m") + 1;
}

// Step 13: the root of the account's tree, given to the account and to every account numbered below it.
void clsAccount::SetRoot(const std::string& strNumber, std::int32_t lID) {
  std::int32_t current = lID, root = 0;
  for (int reads = 0; reads < kMaxRootReads; ++reads) {
    ObjectRef row = Query("SELECT FAccountID,FParentID FROM t_Account WHERE FAccountID =" + std::to_string(current));
    root = idOf(row, "FAccountID");
    current = idOf(row, "FParentID");
    if (current == 0 || current == root) break;
  }
  Run("Update t_Account Set FRootID=" + std::to_string(root) + " WHERE FNumber=" + Quoted(strNumber) + " OR " +
      modFunction::DescendantsOf(strNumber));
}

void clsAccount::RunIgnoringErrors(std::string strSQL) {
  try {
    Run(std::move(strSQL));
  } catch (const AutomationError&) {
    // The group's class is a hint: an account set that refuses it keeps its own.
  }
}

}  // namespace quillane::standalone
