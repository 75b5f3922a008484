// The program's facade object: made with the options of the command line, called by member name.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/automation/automation.h"
#include "tools/quillane/options.h"

namespace quillane::cli {

// "Quillane.clsExpImp" with --filter, --check-uuid, --add-new-only and --interactive in force. It
// raises Progress for every record it exports, so that the program can count them.
ObjectRef MakeFacade(const CommandLine& line);
// "Quillane.clsItemClass" with the same options, for a page of custom item classes.
ObjectRef MakeItemClasses(const CommandLine& line);

// What a call that failed says: its error text, or, when it left none, that the member failed.
std::string FailureText(const std::string& error, const char* member);

// Calls a member whose argument at errorAt is strError; a False result throws std::runtime_error with
// its text, other text in strError goes to standard error.
void CallOrFail(const ObjectRef& facade, const char* member, std::vector<Variant>& args, std::size_t errorAt);

}  // namespace quillane::cli
