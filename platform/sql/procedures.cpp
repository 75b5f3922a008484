#include "platform/sql/procedures.h"

#include <map>

#include "platform/automation/vbtext.h"
#include "platform/sql/errors.h"

namespace quillane::sql {
namespace {

std::map<std::string, StoredProcedure, NoCaseLess>& procedures() {
  static std::map<std::string, StoredProcedure, NoCaseLess> table;
  return table;
}

}  // namespace

void RegisterProcedure(std::string name, StoredProcedure procedure) {
  procedures()[std::move(name)] = std::move(procedure);
}

void CallProcedure(Database& db, std::string_view name, std::span<const Variant> args) {
  auto found = procedures().find(name);
  if (found == procedures().end())
    throw ProviderError(OleDbError::ErrorsInCommand, "Could not find stored procedure '" + std::string(name) + "'.");
  found->second(db, args);
}

}  // namespace quillane::sql
