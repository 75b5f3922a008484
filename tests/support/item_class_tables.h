// Everything of one custom item class that travels between account sets, table by table, with its
// identifiers left out or given by number, so that two account sets can be compared.
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace quillane::testing {

// The rows of RenderRows's text.
inline std::vector<std::string> RenderedLines(const std::string& text) {
  std::vector<std::string> out;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = std::min(text.find(';', start), text.size());
    out.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

// query gives the rendered rows of a statement in one account set.
inline std::vector<std::pair<std::string, std::string>> ItemClassTables(
    const std::function<std::string(const std::string&)>& query, const std::string& name) {
  const std::string id = query("SELECT FItemClassID FROM t_ItemClass WHERE FName = '" + name + "'"), table = "t_Item_" + id;
  std::string columns = "i.FNumber, i.FName, i.FLevel, i.FDetail, p.FNumber, i.UUID, i.FSystemType, d.FNumber, d.FName";
  for (const std::string& column :
       RenderedLines(query("SELECT FSQLColumnName FROM t_ItemPropDesc WHERE FItemClassID = " + id + " ORDER BY FPropID")))
    columns += ", d." + column;
  return {
      {"class", query("SELECT FNumber, FName, FType, FSQLTableName = 't_Item' || FItemClassID FROM t_ItemClass "
                      "WHERE FItemClassID = " + id)},
      {"table", query("SELECT name, lower(typename) FROM syscolumns WHERE id = object_id('" + table + "') ORDER BY colid")},
      {"link column", query("SELECT COUNT(*) FROM syscolumns WHERE id = object_id('t_ItemDetail') AND name = 'F" + id + "'")},
      {"descriptions",
       query("SELECT FName, FName_Cht, FName_En, FSQLColumnName, FDataType, FActualType, FActualSize, FBehavior, "
             "FPrecision, FScale, FSaveRule, FViewMask, FComCall, FDisplayField, FFilterField, FPageName, "
             "FPageName_Cht, FPageName_En, FSrcField, FSrcTable, FDefaultValue, FSearch FROM t_ItemPropDesc "
             "WHERE FItemClassID = " + id + " ORDER BY FPropID")},
      {"access objects", query("SELECT FObjectType, FName, FName_cht, FName_en, FDescription, FDescription_cht, "
                               "FDescription_en FROM t_ObjectType WHERE FObjectID = " + id + " ORDER BY FObjectType")},
      {"access types", query("SELECT FObjectType, FIndex, FAccessMask, FAccessUse, FName, FDescription, FName_Cht, "
                             "FName_En, FDescription_Cht, FDescription_En FROM t_ObjectAccessType WHERE FObjectID = " +
                             id + " ORDER BY FObjectType, FIndex")},
      {"grants", query("SELECT FGroupID, FObjectType, FIndex FROM t_ObjectAccess WHERE FObjectID = " + id +
                       " ORDER BY FObjectType, FIndex, FGroupID")},
      {"records", query("SELECT " + columns + " FROM t_Item i LEFT JOIN t_Item p ON p.FItemID = i.FParentID AND "
                        "i.FParentID <> 0 LEFT JOIN " + table + " d ON d.FItemID = i.FItemID WHERE i.FItemClassID = " +
                        id + " ORDER BY i.FNumber")},
  };
}

}  // namespace quillane::testing
