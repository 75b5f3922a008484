// The registry reader of the XML component's global object, over the library's registry.
#pragma once

#include <string>
#include <string_view>

#include "platform/automation/object.h"

namespace quillane {

class TrzRegistry : public AutomationObject {
 public:
  // The value as a String, or fallback when the key or the value is missing. A registry that cannot be
  // read raises the registry's error.
  Variant ReadValue(std::string_view keyPath, std::string_view valueName, Variant fallback) const;
  bool KeyExists(std::string_view keyPath) const;

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "TrzRegistry"; }
};

}  // namespace quillane
