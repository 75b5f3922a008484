// Data that hangs off an item rather than lying in its detail row: the auxiliary properties of a
// material (COM_ItemAuxProp, carried as "number~name|number~name" in the ItemAuxProp entry of its
// AuxClass link) and the products of a cost object (cb_CostObj_Product, carried as the vector
// Material of its record).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "exchange/clsItem_access.h"
#include "platform/xml/TrzRecord.h"
#include "platform/xml/TrzRecords.h"

namespace quillane {

// The separators of the text have no escape, and peers read the text as it is: a "|" anywhere or a "~"
// in a number does not survive the trip, a "~" in a name does (the first "~" ends the number).
//
// GetItemIDByNumberName, GetItemNumberName and SaveAuxProp build their statements in the engine's
// lastSQL and put its text back when they succeed; after an error it holds the failed statement.
// GetAuxProps leaves it as it was. The cost-object procedures leave their last statement in it.

// The auxiliary properties text of the engine's item with that number and name; empty on any error. A
// property whose item no longer exists is left out.
std::string GetAuxProps(ItemEngineAccess& engine, const std::string& strNumber, const std::string& strName);
// Replaces the auxiliary properties of the item being imported by those the text names, matching each
// pair on number and name joined; pairs that match no item are dropped. True without records to import;
// False, doing nothing, while no item is known. A pair without "~" raises the library's refusal.
bool SaveAuxProp(ItemEngineAccess& engine, const std::string& strAuxProps);
// FNumber "~" FName of the t_Item row; empty when there is none.
std::string GetItemNumberName(ItemEngineAccess& engine, std::int32_t lID);
// FItemID of the first t_Item row of the class (any class for 0) with that number and name; 0 when none.
std::int32_t GetItemIDByNumberName(ItemEngineAccess& engine, std::int32_t lClassID, const std::string& strNumber,
                                   const std::string& strName);
// Sets the cost object's Material vector (left out when it has no products); products whose item is gone
// are left out, and the bit columns travel as the numbers 0 and 1. Database errors reach the caller.
void ExportCBObjectMaterial(ItemEngineAccess& engine, TrzRecord& record, std::int32_t lCostObjID);
// Replaces the cost object's products by those of the vector; a null or empty vector keeps them. A
// product is found by UUID (with CheckByUUID and a UUID that is not empty), then by number among the
// materials; one found by neither is skipped. Quotiety (default 1), IsStand and IsDeputy (default 0)
// must be numbers (a Boolean counts as 1 or 0): the library's refusal is raised for any other value
// before anything is written. Database errors reach the caller.
void ImportCBObjectMaterial(ItemEngineAccess& engine, const std::shared_ptr<TrzRecords>& products,
                            std::int32_t lCostObjID);

}  // namespace quillane
