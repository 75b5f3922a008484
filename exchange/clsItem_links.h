// The link codecs of the item engine: a column that holds another record's identifier travels as a
// LinkRef (a nested record of Number, Name and, for most kinds, UUID) and comes back as the identifier
// of the matching record of the target account set. One pair of codecs serves every kind, driven by
// the table of kinds in the .cpp file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "exchange/clsItem_access.h"
#include "platform/xml/TrzRecord.h"

namespace quillane {

enum class LinkKind {
  Assist,
  Item,
  SPGroup,
  Unit,
  Account,
  Currency,
  Settle,
  InspectionProject,
  Routing,
  WorkType,
  StockPlace,
  AuxClass,
  UnitGroup,
  vwAssignStock,
  vwInstStock,
  vwKeepStock,
  vwAssigneeStock,
  JobType,
  IcTeamTime,
};

// The kind a field map names ("Account", "vwKeepStock"...); raises error 5 for an unknown name.
LinkKind LinkKindByName(std::string_view name);

// Packs the link with identifier lID under strKey of record (JobType: the plain value "JobType"), a
// Null column as the empty text. Identifier 0, or a record that no longer exists, leaves the key out.
// Lookup errors reach the caller.
void PacketLinkField(ItemEngineAccess& engine, LinkKind kind, TrzRecord& record, std::int32_t lID,
                     std::string_view strKey);

// Matches the link (the element's value: a nested record; anything else, or a record without keys as an
// empty link element reads, is an empty link) in the target account set and appends "<column> = <id>,"
// (" = 0," when nothing matches, " =NULL," for an empty link) to strSQL. Returns the matched identifier,
// 0 when none. The UUID step runs only with CheckByUUID and a UUID that is not empty (a link without
// UUID has an empty one); Number and Name are read only by the steps that compare them, a missing one
// as the empty text. Values stand quoted in the lookups with their apostrophes doubled.
// JobType takes the element's plain text and always assigns FJobTypeID. Each lookup is recorded as the
// engine's last statement; lookup errors reach the caller with it and strSQL holding the failed lookup.
std::int32_t ImportLinkField(ItemEngineAccess& engine, LinkKind kind, const Variant& link, std::string_view strColumn,
                             std::string& strSQL);

// The unit group of a unit-of-measure link, for records that carry Unit but no UnitGroup.
void ImportUnitGroupFieldByUnit(ItemEngineAccess& engine, const Variant& unitLink, std::string_view strColumn,
                                std::string& strSQL);

}  // namespace quillane
