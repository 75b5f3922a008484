// How values of an imported record are pasted into statements, for every importer of the library. A
// value never ends its literal or adds to a statement: texts are quoted with their apostrophes doubled,
// numbers are checked to be numbers, and a number used as a LIKE prefix matches only itself.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/automation/variant.h"

namespace quillane::modFunction {

// The source of the refusals raised here: the value belongs to whichever importer asked.
inline constexpr const char* kSqlValueSource = "Quillane.modFunction";

// The text between single quotes: "'" + text with each apostrophe doubled + "'".
std::string Quoted(std::string_view text);

// The SQL text of a value that a statement takes as a number: a number as CStr writes it (every digit
// of a Decimal or Currency), a Boolean as the bit 1 or 0, or a text VB reads as a number (" 12 ", "1e3")
// with its own digits, never rewritten through a double. Anything else (an
// empty text, "1;DROP", Null, an object) raises the library's refusal "<key>的值必须是数字:<value>", so
// that the record fails with its error line before the value reaches a statement.
std::string NumberValue(const Variant& value, std::string_view strKey);

// The whole number a value holds when it lies between low and high: a number without a fraction, or a
// text VB reads as one. Anything else raises the library's refusal "<key>的值必须是整数(<low>..<high>):<value>"
// before the value reaches a statement.
std::int32_t WholeNumber(const Variant& value, std::string_view strKey, std::int32_t low, std::int32_t high);

// strValue itself when it is a plain identifier: a letter or "_", then letters, digits and "_", as the
// names of the account set's tables and columns are. Anything else (a blank, a bracket, "x; DELETE ...")
// raises the library's refusal "<key>的值必须是表名或列名:<value>" before it reaches a statement.
std::string Identifier(std::string_view strValue, std::string_view strKey);

// The SQL text of a stored value compared after "=": a number (or Boolean) written anew as a number,
// anything else as a quoted text. Null has no literal: the caller tests for it first.
std::string Literal(const Variant& value);

// "FNumber LIKE '<number>.%' ESCAPE '\'": the rows numbered below strNumber. "%", "_", "[" and "\" in
// the number are escaped, so they match only themselves.
std::string DescendantsOf(std::string_view strNumber);

}  // namespace quillane::modFunction
