#include "exchange/clsItem_sql.h"

#include "exchange/modFunction_sql.h"

namespace quillane::item_sql {

using modFunction::Quoted;

std::string ItemByNumber(std::int32_t lItemClassID, std::string_view strNumber) {
  return "Select FItemID ,FName, FDetail from t_Item Where FItemClassID=" + std::to_string(lItemClassID) + " AND " +
         "FNumber=" + Quoted(strNumber);
}

std::string ItemByNumberAndName(std::int32_t lItemClassID, std::string_view strNumber, std::string_view strName) {
  return ItemByNumber(lItemClassID, strNumber) + " AND FName=" + Quoted(strName);
}

std::string NewItemRow(std::int32_t lItemClassID, int iLevel, int iDetail, std::string_view strNumber,
                       std::string_view strName) {
  return "INSERT INTO t_Item (FItemClassID,FLevel,FDetail,FParentID,FNumber,FName) VALUES (" +
         std::to_string(lItemClassID) + "," + std::to_string(iLevel) + "," + std::to_string(iDetail) + ",0," +
         Quoted(strNumber) + "," + Quoted(strName) + ")";
}

}  // namespace quillane::item_sql
