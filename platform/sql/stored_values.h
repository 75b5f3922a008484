// SQL Server's rules for a value written into a column of a declared type. SQLite keeps any value in
// any column; the compatibility layer wraps every value that a statement writes into a column of a
// known type in the store function (column_writes.h), so that the file holds what an account set on
// SQL Server would hold, and a value SQL Server refuses fails the statement with SQL Server's message.
//
// What is stored, by the column's type:
//   bit                      0 or 1; numbers (not 0 is 1), 'True'/'False', integer texts, '' as 0
//   tinyint ... bigint       integers in the type's range; numbers cut toward zero, integer texts, '' as 0
//   real, float              numbers; number texts, '' as 0
//   decimal(p, s), numeric   numbers rounded half away from zero to s decimals, below 10^(p-s); number
//                            texts without exponent. Exact: no digit goes through a double
//   money, smallmoney        numbers rounded to 4 decimals in the type's range; texts with a currency
//                            sign and thousands separators, '' as 0. Exact as decimal
//   (decimal and money are stored as INTEGER, REAL or a BLOB of their digits: see storeExact)
//   datetime, smalldatetime  "YYYY-MM-DD[ HH:MM:SS[.mmm]]" from date texts (y-m-d with "-", "/" or ".",
//   date                     or yyyymmdd, with an optional time) or numbers of days from 1900-01-01;
//                            '' is 1900-01-01; datetime keeps 1/300 s, smalldatetime the minute
//   char ... ntext           texts of at most the declared characters (code points); numbers as text.
//                            char(n) is not padded, so that texts compare alike in every column
//   uniqueidentifier         "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX" in upper case, braces taken off
//   binary, varbinary        byte strings of at most the declared bytes (binary(n) padded with zeros);
//                            integers as their 4 or 8 bytes, most significant first
// NULL is stored as NULL everywhere; a NOT NULL constraint refuses it where the table says so.
#pragma once

struct sqlite3_context;
struct sqlite3_value;

namespace quillane::sql {

// quillane_store(declared type text, value[, literal]): the value as the column stores it; literal is
// the text of a number literal as the statement wrote it, whose digits a double would not keep. A refusal fails the
// statement with SQL Server's message: a conversion SQL Server does not make as SQLITE_MISMATCH (the
// provider's "cannot convert value"), a value out of the type's range or too long as SQLITE_TOOBIG (the
// provider's "data overflow").
inline constexpr const char* kStoreFunction = "quillane_store";

void StoreFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv);

}  // namespace quillane::sql
