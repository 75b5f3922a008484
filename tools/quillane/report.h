// Text the program passes on from the library to the user.
#pragma once

#include <cstdint>
#include <string>

#include "exchange/modFunction_import.h"
#include "platform/automation/automation.h"

namespace quillane::cli {

// The library's error text on standard error, line by line. A line that repeats the one before it is
// left out: a bulk file whose every batch is refused for one reason says so once.
void PrintErrors(const std::string& text);

// What the library's last import through object did with its records: the facade's ImportCounts, or
// the items of a custom item class object.
modFunction::ImportCounts ImportCountsOf(const ObjectRef& object);

// The summary of an import on standard error: the records read, then how many the library imported,
// skipped (one line per reason) and failed, and the storage fault that stopped it.
void PrintImportSummary(std::int32_t read, const modFunction::ImportCounts& counts);

}  // namespace quillane::cli
