// Helpers of the XML component's automation classes: the error source, argument access for late-bound
// members whose arguments do not map onto one C++ signature, and typed access to an object in a Variant.
#pragma once

#include <cstddef>
#include <memory>

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

// The object the value holds as a T; null when it holds no object or one of another class.
template <class T>
std::shared_ptr<T> ObjectOf(const Variant* value) {
  const ObjectRef* object = value ? value->tryAs<ObjectRef>() : nullptr;
  return object ? std::dynamic_pointer_cast<T>(*object) : nullptr;
}

}  // namespace quillane::xml_detail
