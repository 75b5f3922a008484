// The statement shapes that several steps of the item engine share. Values are pasted into them by the
// core's helpers (modFunction_sql.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillane::item_sql {

// The source of the engine's refusals and of the errors it raises on a record.
inline constexpr const char* kSource = "Tarnwick.clsItem";

// "Select FItemID ,FName, FDetail from t_Item Where FItemClassID=<class> AND FNumber='<number>'", and
// with a name " AND FName='<name>'": the one lookup of an item of a class by its number.
std::string ItemByNumber(std::int32_t lItemClassID, std::string_view strNumber);
std::string ItemByNumberAndName(std::int32_t lItemClassID, std::string_view strNumber, std::string_view strName);

// "INSERT INTO t_Item (FItemClassID,FLevel,FDetail,FParentID,FNumber,FName) VALUES (...)": a new item row
// at the top level; its row version and UUID come from the table.
std::string NewItemRow(std::int32_t lItemClassID, int iLevel, int iDetail, std::string_view strNumber,
                       std::string_view strName);

}  // namespace quillane::item_sql
