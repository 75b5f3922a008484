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

// The auxiliary properties text of the engine's item with that number and name; empty on any error.
std::string GetAuxProps(ItemEngineAccess& engine, const std::string& strNumber, const std::string& strName);
// Replaces the auxiliary properties of the item being imported by those the text names.
bool SaveAuxProp(ItemEngineAccess& engine, const std::string& strAuxProps);
std::string GetItemNumberName(ItemEngineAccess& engine, std::int32_t lID);
std::int32_t GetItemIDByNumberName(ItemEngineAccess& engine, std::int32_t lClassID, const std::string& strNumber,
                                   const std::string& strName);
// Sets the cost object's Material vector (left out when it has no products).
void ExportCBObjectMaterial(ItemEngineAccess& engine, TrzRecord& record, std::int32_t lCostObjID);
// Replaces the cost object's products by those of the vector; a null or empty vector keeps them.
void ImportCBObjectMaterial(ItemEngineAccess& engine, const std::shared_ptr<TrzRecords>& products,
                            std::int32_t lCostObjID);

}  // namespace quillane
