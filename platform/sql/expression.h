// SQL Server's "+" in the library's statements: each chain of additions is written as nested calls of
// the engine's plus function (functions.h), keeping the precedence and left-to-right order of the
// operators: a - b + c * d becomes quillane_plus(a - b, c * d) COLLATE NOCASE.
#pragma once

#include <span>
#include <vector>

#include "platform/sql/lexer.h"

namespace quillane::sql {

std::vector<Token> RewritePlus(std::span<const Token> tokens);

}  // namespace quillane::sql
