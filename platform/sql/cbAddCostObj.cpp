// cbAddCostObj @FItemID: the cost object of a material that is made in house. The import calls it for
// such a material after writing it and after mirroring its groups as cost-object groups; the cost
// object takes the material's number and name, sits under the cost-object group of the material's
// group, gets its detail row, and lists the material as its standard product.
#include <string>

#include "platform/automation/vbconv.h"
#include "platform/sql/database.h"
#include "platform/sql/errors.h"
#include "platform/sql/procedures.h"

namespace quillane::sql {
namespace {

constexpr std::int32_t kMaterialClass = 4;
constexpr std::int32_t kCostObjectClass = 2001;

std::int32_t firstId(const Rowset& rows) { return rows.rows.empty() ? 0 : CLng(rows.rows[0][0]); }

void cbAddCostObj(Database& db, std::span<const Variant> args) {
  if (args.size() != 1)
    throw ProviderError(OleDbError::ErrorsInCommand,
                        args.empty() ? "Procedure or function 'cbAddCostObj' expects parameter '@FItemID', which was "
                                       "not supplied."
                                     : "Procedure or function cbAddCostObj has too many arguments specified.");
  Variant material(CLng(args[0]));
  Variant byMaterial[] = {material, Variant(kMaterialClass)};
  Rowset found = db.query("SELECT FNumber, FName, FLevel, FParentID FROM t_Item WHERE FItemID = ?1 AND FItemClassID = ?2",
                          byMaterial);
  if (found.rows.empty())
    throw ProviderError(OleDbError::ErrorsInCommand,
                        "cbAddCostObj: no material has the FItemID " + CStr(material) + ".");
  const std::vector<Variant>& m = found.rows[0];
  std::string number = CStr(m[0]);
  Variant costObjectClass(kCostObjectClass);

  Variant groupOf[] = {costObjectClass, m[3]};
  Variant parent(firstId(db.query("SELECT FItemID FROM t_Item WHERE FItemClassID = ?1 AND FNumber = "
                                  "(SELECT FNumber FROM t_Item WHERE FItemID = ?2 AND FItemID <> 0)",
                                  groupOf)));
  Variant byNumber[] = {costObjectClass, Variant(number)};
  const char* existingSql = "SELECT FItemID FROM t_Item WHERE FItemClassID = ?1 AND FNumber = ?2";
  std::int32_t costObject = firstId(db.query(existingSql, byNumber));
  Variant shortNumber(number.substr(number.rfind('.') + 1));
  if (costObject == 0) {
    Variant row[] = {costObjectClass, Variant(number), m[1], shortNumber, m[2], parent};
    db.run("INSERT INTO t_Item (FItemClassID, FNumber, FName, FFullNumber, FShortNumber, FLevel, FDetail, FParentID) "
           "VALUES (?1, ?2, ?3, ?2, ?4, ?5, 1, ?6)",
           row);
    costObject = firstId(db.query(existingSql, byNumber));
  }
  Variant detail[] = {Variant(costObject), Variant(number), m[1], parent, shortNumber};
  db.run("INSERT INTO cbCostObj (FItemID, FNumber, FName, FParentID, FShortNumber) SELECT ?1, ?2, ?3, ?4, ?5 "
         "WHERE NOT EXISTS (SELECT 1 FROM cbCostObj WHERE FItemID = ?1)",
         detail);
  Variant product[] = {Variant(costObject), material};
  db.run("INSERT INTO cb_CostObj_Product (FCostObjID, FProductID, FQuotiety, FIsStand, FIsDeputy) "
         "SELECT ?1, ?2, 1, 1, 0 WHERE NOT EXISTS (SELECT 1 FROM cb_CostObj_Product WHERE FCostObjID = ?1 AND "
         "FProductID = ?2)",
         product);
}

const ProcedureRegistrar registrar{"cbAddCostObj", cbAddCostObj};

}  // namespace
}  // namespace quillane::sql
