// VB's conversions of a Variant, with VB's results and error numbers: Null gives error 94 wherever VB
// gives it, a text that is no number error 13, a value out of range error 6.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/automation/variant.h"

namespace quillane {

std::string CStr(const Variant& v);
std::int32_t CLng(const Variant& v);   // rounds half to even, as VB does
std::int16_t CInt(const Variant& v);   // rounds half to even, as VB does
bool CBool(const Variant& v);
double CDbl(const Variant& v);
Currency CCur(const Variant& v);       // exact from a Decimal or a text; rounds half to even
Decimal CDec(const Variant& v);        // a Double by its 15 significant digits, as VB takes one
double Val(std::string_view text);     // leading number of a text, 0 when there is none; never raises
bool IsNumeric(const Variant& v);
inline bool IsNull(const Variant& v) { return v.isNull(); }
inline bool IsEmpty(const Variant& v) { return v.isEmpty(); }

// Dates as the library writes them in XML and text: "YYYY-MM-DD", with "THH:MM:SS" when there is a time
// (the separator is given, since VB's CStr writes a blank there).
std::string FormatDate(Date d, char timeSeparator = ' ');
// Parses "YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS" or "YYYY-MM-DDTHH:MM:SS"; false when the text is no date.
bool ParseDate(std::string_view text, Date& out);
Date MakeDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// Days from 1970-01-01 of a civil date, and back (proleptic Gregorian calendar).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d);
void CivilFromDays(std::int64_t z, int& y, int& m, int& d);

}  // namespace quillane
