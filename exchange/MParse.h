// The props string of every public call ("ConnectString={...};UserID=16;AcctType=GY;...") and the
// account set's service pack. The parsed props, the industry flag and the service pack are module
// state, kept once per apartment and describing the last parse.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillane::MParse {

// Parses the props string into the module's collection, sets the industry flag and reads the service
// pack. A key runs to its first "=", a value to the next ";" or, when it starts with "{", to the first
// "}"; keys and values are trimmed, keys compare without regard to case, and the first empty key ends
// the string. Raises error 457 for a repeated key, error 5 without AcctType or ConnectString, and the
// connection component's errors. A failed parse leaves what it had stored so far.
bool ParseProps(std::string_view strPropsString);

// The value of a key of the last parse; error 5 when it has none.
std::string GetProp(std::string_view strKey);
std::string GetConnectString();
// UserID as a 16-bit number: error 13 for a text that is no number, 6 outside -32768..32767.
std::int16_t GetUserID();
// AcctType was "GY" (in any case) in the last parse: an industrial account set.
bool IsIndustry();

// The column of t_ItemClass that holds the names of item classes in the last parse's Language:
// FName_EN for "EN", FName_CHT for "CHT" (in any case), FName otherwise. Error 5 without Language.
std::string ClassNameColumn();

// Reads FValue of ServicePack in t_SystemProfile over a connection of its own; no row keeps the text
// it had, a Null value empties it.
void LoadServicePack();

// 1, 0 or -1 as the account set's service pack is newer than, equal to or older than strVersion.
// Never raises.
std::int16_t CompareServicePack(std::string_view strVersion);

// The comparison itself: dotted versions of up to four numbers (missing parts count as 0) are
// compared part by part. A stored text that is empty or no such version compares as older (-1).
std::int16_t CompareVersions(std::string_view strStored, std::string_view strVersion);

}  // namespace quillane::MParse
