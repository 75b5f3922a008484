// The sample chart of accounts: a few groups and a tree of accounts three levels deep, with cash and
// bank accounts, a foreign-currency account, a quantity account with its unit, and accounts kept by
// item classes.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "accountset/sample_rows.h"
#include "platform/automation/vbconv.h"

namespace quillane::accountset {
namespace {

struct SampleGroup {
  int id;  // its number; the first digit is its class
  const char* name;
};
constexpr SampleGroup kGroups[] = {
    {101, "流动资产"}, {102, "非流动资产"}, {201, "流动负债"}, {601, "营业收入"}, {602, "期间费用"},
};

struct SampleAccount {
  const char* number;  // "1002.01": the parent is the number before the last dot
  const char* name;
  int group;
  int dc;                    // 1 debit, -1 credit
  const char* flags;         // the flag columns set to 1, comma-separated
  const char* currency;      // its number, or empty
  const char* unit;          // its number, or empty
  std::vector<int> classes;  // the item classes it is kept by
};
const SampleAccount kAccounts[] = {
    {"1001", "库存现金", 101, 1, "FIsCash,FJournal", "", "", {}},
    {"1002", "银行存款", 101, 1, "FIsBank,FJournal", "", "", {}},
    {"1002.01", "工商银行", 101, 1, "FIsBank,FJournal", "", "", {}},
    {"1002.02", "美元户", 101, 1, "FIsBank,FJournal,FAdjustRate", "USD", "", {}},
    {"1122", "应收账款", 101, 1, "FContact", "", "", {1}},
    {"1403", "原材料", 101, 1, "", "", "", {}},
    {"1403.01", "主要材料", 101, 1, "", "", "", {}},
    {"1403.01.01", "钢材", 101, 1, "FQuantities", "", "kg", {4}},
    {"1601", "固定资产", 102, 1, "", "", "", {2}},
    {"2202", "应付账款", 201, -1, "FContact", "", "", {8}},
    {"6001", "主营业务收入", 601, -1, "", "", "", {1, 4}},
    {"6601", "销售费用", 602, 1, "", "", "", {}},
    {"6601.01", "差旅费", 602, 1, "FIsCashFlow", "", "", {2, 3}},
};

std::int32_t idOrZero(sql::Database& db, const char* sqlText, const char* number) {
  if (!*number) return 0;
  const Variant params[] = {Variant(number)};
  sql::Rowset rows = db.query(sqlText, params);
  return rows.rows.empty() ? 0 : CLng(rows.rows[0][0]);
}

}  // namespace

void WriteChartOfAccounts(sql::Database& db) {
  auto uuid = [](std::uint32_t table, int n) { return Variant(SampleUuid(0xA0000000u + table, static_cast<std::uint32_t>(n))); };
  for (int g = 0; g < static_cast<int>(std::size(kGroups)); ++g) {
    const SampleGroup& group = kGroups[g];
    InsertOne(db, "INSERT INTO t_AcctGroup (FGroupID, FClassID, FName, FName_cht, FName_en, UUID) VALUES (?1, ?2, ?3, ?3, ?3, ?4)",
              {Variant(std::int32_t{group.id}), Variant(std::int32_t{group.id / 100}), Variant(group.name), uuid(15, g + 1)});
  }

  sql::Statement account(db, "INSERT INTO t_Account (FNumber, FName, FHelperCode, FLevel, FDetail, FDC, FGroupID, "
                             "FParentID, FRootID, FCurrencyID, FMeasureUnitID, FUnitGroupID, FDetailID, UUID) VALUES "
                             "(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14)");
  std::map<std::string, std::int32_t> ids;  // by number, parents first
  std::int32_t detailID = 0;
  for (int a = 0; a < static_cast<int>(std::size(kAccounts)); ++a) {
    const SampleAccount& acct = kAccounts[a];
    const std::string number = acct.number;
    const std::size_t dot = number.rfind('.');
    const std::int32_t parent = dot == std::string::npos ? 0 : ids.at(number.substr(0, dot));
    const std::string top = number.substr(0, number.find('.'));
    bool hasChildren = false;
    for (const SampleAccount& other : kAccounts) hasChildren = hasChildren || std::string(other.number).starts_with(number + ".");
    const std::int32_t unit = idOrZero(db, "SELECT FMeasureUnitID FROM t_MeasureUnit WHERE FNumber = ?1", acct.unit);
    const std::int32_t unitGroup = idOrZero(db, "SELECT FUnitGroupID FROM t_MeasureUnit WHERE FNumber = ?1", acct.unit);
    const std::int32_t combination = acct.classes.empty() ? 0 : ++detailID;
    const std::int32_t id = Insert(
        db, account,
        {Variant(number), Variant(acct.name), Variant("KM" + number),
         Variant(static_cast<std::int16_t>(1 + std::count(number.begin(), number.end(), '.'))),
         Variant(static_cast<std::int16_t>(hasChildren ? 0 : 1)), Variant(static_cast<std::int16_t>(acct.dc)),
         Variant(std::int32_t{acct.group}), Variant(parent), Variant(parent == 0 ? std::int32_t{0} : ids.at(top)),
         Variant(idOrZero(db, "SELECT FCurrencyID FROM t_Currency WHERE FNumber = ?1", acct.currency)), Variant(unit),
         Variant(unitGroup), Variant(combination), uuid(2, a + 1)});
    ids[number] = id;
    if (parent == 0) db.run("UPDATE t_Account SET FRootID = FAccountID WHERE FAccountID = " + std::to_string(id));
    for (const char* flag = acct.flags; *flag;) {
      const char* end = flag;
      while (*end && *end != ',') ++end;
      db.run("UPDATE t_Account SET " + std::string(flag, end) + " = 1 WHERE FAccountID = " + std::to_string(id));
      flag = *end ? end + 1 : end;
    }
    if (combination == 0) continue;
    std::string columns, values;
    for (int itemClass : acct.classes) {
      InsertOne(db, "INSERT INTO t_ItemDetailV (FDetailID, FItemClassID, FItemID) VALUES (?1, ?2, -1)",
                {Variant(combination), Variant(std::int32_t{itemClass})});
      columns += ", F" + std::to_string(itemClass);
      values += ", -1";
    }
    db.run("INSERT INTO t_ItemDetail (FDetailID, FDetailCount" + columns + ") VALUES (" + std::to_string(combination) +
           ", " + std::to_string(acct.classes.size()) + values + ")");
  }
}

}  // namespace quillane::accountset
