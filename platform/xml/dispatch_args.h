// Argument access for the late-bound members of the XML component's classes whose arguments do not map
// onto one C++ signature.
#pragma once

#include <cstddef>

#include "platform/automation/object.h"

namespace quillane::xml_detail {

// The error source of the record model, as its callers see it in error texts.
inline constexpr const char* kTrzSource = "TRZ10";

// Argument `index` of a member that takes `count`: error 450 for too many arguments, 449 for a missing one.
inline Variant& argument(Arguments args, std::size_t index, std::size_t count) {
  if (args.size() > count) throw vbError(VbError::WrongArgumentCount);
  if (index >= args.size()) throw vbError(VbError::ArgumentNotOptional);
  return args[index];
}

}  // namespace quillane::xml_detail
