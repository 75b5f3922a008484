// The index range of a LIKE on a text column, written out so that it holds whatever pattern is bound.
//
// SQLite turns "FNumber LIKE 'ab.%'" into a range of the column's NOCASE index only while it can see
// the pattern when it compiles the statement. The statement cache binds the pattern as a parameter
// (statement_shape.h): SQLite then compiles the statement again for every new pattern, or, with the
// planner told never to look at bound values (as the connection is), scans the whole table. So the
// rewriter gives the range itself:
//   FNumber LIKE ?1 ESCAPE '\'
//     -> (FNumber LIKE ?1 ESCAPE '\' AND FNumber COLLATE NOCASE >= quillane_like_floor(?1, '\')
//                                    AND FNumber COLLATE NOCASE <  quillane_like_ceiling(?1, '\'))
// The LIKE stays and decides; the range only has to hold every text the LIKE matches, which it does
// for any pattern: the floor is the pattern's literal start before its first wildcard, the ceiling
// that start in lower case with its last byte raised. A column whose values may be numbers would fall
// out of a text range, so only a column of TEXT affinity, named in a WHERE of a query over that one
// table, is rewritten; any other LIKE stays as it is.
#pragma once

#include <vector>

#include "platform/sql/column_writes.h"
#include "platform/sql/lexer.h"

struct sqlite3_context;
struct sqlite3_value;

namespace quillane::sql {

inline constexpr const char* kLikeFloorFunction = "quillane_like_floor";
inline constexpr const char* kLikeCeilingFunction = "quillane_like_ceiling";

// quillane_like_floor(pattern[, escape]) and quillane_like_ceiling(pattern[, escape]): the bounds above.
// NULL when the pattern or the escape is NULL (the LIKE then holds for nothing either); the error of
// SQLite's LIKE when the escape is not one character. A pattern that starts with a wildcard has the
// empty text as its floor and as ceiling an empty byte string, which sorts above every text.
void LikeFloorFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv);
void LikeCeilingFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv);

// Rewrites the LIKEs of a SELECT, UPDATE or DELETE that qualify, as described above.
void BoundLikes(std::vector<Token>& tokens, ColumnCatalog& catalog);

}  // namespace quillane::sql
