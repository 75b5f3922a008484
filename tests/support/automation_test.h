// Calling automation objects from tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/automation/automation.h"

namespace quillane::testing {

// The error the call raised, or a test failure when it raised none.
template <class F>
AutomationError ErrorOf(F&& call) {
  try {
    call();
  } catch (const AutomationError& e) {
    return e;
  }
  ADD_FAILURE() << "no error raised";
  return AutomationError(0, "", "");
}

// A late-bound method call with its arguments given in place.
inline Variant CallByName(const ObjectRef& object, std::string_view member, std::vector<Variant> args) {
  return object->Call(member, args);
}

}  // namespace quillane::testing
