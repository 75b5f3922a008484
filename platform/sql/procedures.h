// The ERP's stored procedures that the library EXECs. SQLite has none, so the stand-in carries them as
// C++ functions over the same database, registered by name when the library loads.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "platform/automation/variant.h"

namespace quillane::sql {

class Database;

// Runs inside the caller's batch (and transaction): what it writes rolls back with them. Raises a
// provider error to refuse.
using StoredProcedure = std::function<void(Database& db, std::span<const Variant> args)>;

// Names compare without regard to case; a later registration under a name replaces the earlier one.
void RegisterProcedure(std::string name, StoredProcedure procedure);

// Raises SQL Server's error for a procedure that does not exist.
void CallProcedure(Database& db, std::string_view name, std::span<const Variant> args);

struct ProcedureRegistrar {
  ProcedureRegistrar(std::string name, StoredProcedure procedure) {
    RegisterProcedure(std::move(name), std::move(procedure));
  }
};

}  // namespace quillane::sql
