// The global object of the XML component: its registry reader and the Null conversion used when records
// are packed from database rows.
#pragma once

#include <memory>
#include <string>

#include "platform/automation/object.h"
#include "platform/xml/TrzRegistry.h"

namespace quillane {

class TrzGlobal : public AutomationObject {
 public:
  // The one registry reader of this global object.
  std::shared_ptr<TrzRegistry> Registry() const;
  // fallback when value is Null, else value unchanged (Empty is no Null and stays Empty).
  static Variant NullToDefault(const Variant& value, const Variant& fallback);

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "TrzGlobal"; }

 private:
  mutable std::shared_ptr<TrzRegistry> registry_;
};

}  // namespace quillane
