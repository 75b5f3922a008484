// The sample rows of the standalone types that keep tables of their own: units of measure with their
// groups, stock places with their groups, and auxiliary data of both kinds of account set.
#include <vector>

#include "accountset/sample_rows.h"

namespace quillane::accountset {

// Auxiliary data of a commercial account set: entries under their classes, and one of the ERP's
// predefined entries, which is never exchanged.
void WriteSampleCommercialAssist(sql::Database& db) {
  const char* classes[] = {"纳税人类别", "客户分类", "系统类别"};
  std::vector<Row> classRows;
  for (int c = 0; c < 3; ++c) classRows.push_back({Variant(classes[c]), LinkTargetUuid(0x20, c + 1)});
  InsertAll(db, "INSERT INTO com_SysTypeClass (FTypeClassName, UUID) VALUES (?1, ?2)", classRows);
  struct Entry {
    std::int32_t classID;
    const char* number;
    const char* name;
    bool predefined;
  };
  const Entry entries[] = {{1, "01", "一般纳税人", false}, {1, "02", "小规模纳税人", false},
                           {2, "01", "批发客户", false},   {3, "01", "系统预设类型", true}};
  std::vector<Row> rows;
  for (int e = 0; e < 4; ++e)
    rows.push_back({Variant(entries[e].classID), Variant(entries[e].number), Variant(entries[e].name),
                    Variant(entries[e].predefined), LinkTargetUuid(4, e + 1)});
  InsertAll(db, "INSERT INTO com_SysType (FClassID, FNumber, FName, FPreDefined, UUID) VALUES (?1, ?2, ?3, ?4, ?5)", rows);
}

// Units of measure in two groups. A group and each of its units are items of class 7 as well, with the
// same ids and UUIDs; the first unit of a group is its standard unit.
void WriteSampleUnits(sql::Database& db) {
  struct Unit {
    const char* number;
    const char* name;
    double coefficient;
    const char* auxClass;  // null: none
    bool deleted;
  };
  struct Group {
    const char* name;
    Unit units[3];
  };
  const Group groups[] = {
      {"重量组", {{"kg", "千克", 1, nullptr, false}, {"g", "克", 0.001, nullptr, false}, {"t", "吨", 1000, "1", false}}},
      {"长度组", {{"m", "米", 1, "0", false}, {"cm", "厘米", 0.01, "0", false}, {"ft", "英尺", 0.3048, nullptr, true}}},
  };
  sql::Statement item(db, "INSERT INTO t_Item (FItemClassID, FNumber, FName, FParentID, FLevel, FDetail, UUID) "
                          "VALUES (7, ?1, ?2, ?3, ?4, ?5, ?6)");
  sql::Statement group(db, "INSERT INTO t_UnitGroup (FUnitGroupID, FName, FDefaultUnitID, UUID) VALUES (?1, ?2, 0, ?3)");
  sql::Statement standard(db, "UPDATE t_UnitGroup SET FDefaultUnitID = ?2 WHERE FUnitGroupID = ?1");
  sql::Statement unit(db, "INSERT INTO t_MeasureUnit (FMeasureUnitID, FItemID, FUnitGroupID, FParentID, FNumber, FName, "
                          "FShortNumber, FCoefficient, FAuxClass, FStandard, FDeleted, UUID) "
                          "VALUES (?1, ?1, ?2, ?2, ?3, ?4, ?3, ?5, ?6, ?7, ?8, ?9)");
  int units = 0;
  for (int g = 0; g < 2; ++g) {
    Variant groupUuid = LinkTargetUuid(7, g + 1);
    Variant groupID(Insert(db, item, {Variant(groups[g].name), Variant(groups[g].name), Variant(std::int32_t{0}),
                                      Variant(std::int16_t{1}), Variant(false), groupUuid}));
    Insert(db, group, {groupID, Variant(groups[g].name), groupUuid});
    for (int u = 0; u < 3; ++u) {
      const Unit& one = groups[g].units[u];
      Variant unitUuid = LinkTargetUuid(8, ++units);
      Variant unitID(Insert(db, item, {Variant(one.number), Variant(one.name), groupID, Variant(std::int16_t{2}),
                                       Variant(true), unitUuid}));
      Insert(db, unit, {unitID, groupID, Variant(one.number), Variant(one.name), Variant(one.coefficient),
                        one.auxClass ? Variant(one.auxClass) : Variant::null(), Variant(static_cast<std::int16_t>(u == 0)),
                        Variant(static_cast<std::int16_t>(one.deleted)), unitUuid});
      if (u == 0) Insert(db, standard, {groupID, unitID});
    }
  }
}

// Stock places in two groups: a shelf with its places (one of them its group's default place), and a
// place of its own in the second group.
void WriteSampleStockPlaces(sql::Database& db) {
  const char* groups[][2] = {{"01", "货位组A"}, {"02", "货位组B"}};
  std::vector<std::int32_t> groupIDs;
  sql::Statement group(db, "INSERT INTO t_StockPlaceGroup (FNumber, FName, UUID) VALUES (?1, ?2, ?3)");
  for (int g = 0; g < 2; ++g)
    groupIDs.push_back(Insert(db, group, {Variant(groups[g][0]), Variant(groups[g][1]), LinkTargetUuid(9, g + 1)}));
  struct Place {
    int group;
    const char* number;
    const char* shortNumber;
    const char* name;
    int parent;  // the place's index, or -1 for none
    std::int16_t level, detail;
    bool deleted, isDefault;
  };
  const Place places[] = {{0, "01", "01", "一号货架", -1, 1, 0, false, false},
                          {0, "01.01", "01", "一号货位", 0, 2, 1, false, true},
                          {0, "01.02", "02", "二号货位", 0, 2, 1, false, false},
                          {1, "02.01", "01", "冷藏货位", -1, 1, 1, false, false}};
  sql::Statement place(db, "INSERT INTO t_StockPlace (FSPGroupID, FNumber, FShortNumber, FFullNumber, FName, FParentID, "
                           "FLevel, FDetail, FDeleted, UUID) VALUES (?1, ?2, ?3, ?2, ?4, ?5, ?6, ?7, ?8, ?9)");
  sql::Statement isDefault(db, "UPDATE t_StockPlaceGroup SET FDefaultSPID = ?2 WHERE FSPGroupID = ?1");
  std::vector<std::int32_t> ids;
  for (int p = 0; p < 4; ++p) {
    const Place& one = places[p];
    Variant groupID(groupIDs[one.group]);
    ids.push_back(Insert(db, place, {groupID, Variant(one.number), Variant(one.shortNumber), Variant(one.name),
                                     Variant(one.parent < 0 ? 0 : ids[one.parent]), Variant(one.level),
                                     Variant(one.detail), Variant(static_cast<std::int16_t>(one.deleted)),
                                     LinkTargetUuid(10, p + 1)}));
    if (one.isDefault) Insert(db, isDefault, {groupID, Variant(ids.back())});
  }
}

// Every type of the industrial auxiliary data that the sample's entries name, and the entries under
// their types (FParentID), so that they are exchanged.
void WriteSampleAssistTypes(sql::Database& db) {
  db.run("INSERT INTO t_SubMesType (FTypeID, FName, FType, UUID) SELECT DISTINCT FTypeID, "
         "printf('辅助资料类型%02d', FTypeID), 1, printf('A0000021-0000-4000-8000-%012X', FTypeID) FROM t_SubMessage "
         "ORDER BY FTypeID");
  db.run("UPDATE t_SubMessage SET FParentID = FTypeID");
}

}  // namespace quillane::accountset
