#include "platform/xml/TrzRegistry.h"

#include "platform/registry/registry.h"
#include "platform/xml/object_support.h"

namespace quillane {

Variant TrzRegistry::ReadValue(std::string_view keyPath, std::string_view valueName, Variant fallback) const {
  std::optional<std::string> value = registry::ReadValue(keyPath, valueName);
  return value ? Variant(std::move(*value)) : fallback;
}

bool TrzRegistry::KeyExists(std::string_view keyPath) const { return registry::KeyExists(keyPath); }

const DispatchTable& TrzRegistry::dispatchTable() const {
  using xml_detail::argument;
  static const DispatchTable table =
      DispatchBuilder<TrzRegistry>()
          .raw("ReadValue", 1, InvokeKind::Method,
               [](TrzRegistry& r, Arguments a) {
                 Variant fallback = a.size() > 2 ? argument(a, 2, 3) : Variant(std::string());
                 return r.ReadValue(CStr(argument(a, 0, 3)), CStr(argument(a, 1, 3)), fallback);
               })
          .raw("KeyExists", 2, InvokeKind::Method,
               [](TrzRegistry& r, Arguments a) { return Variant(r.KeyExists(CStr(argument(a, 0, 1)))); })
          .build();
  return table;
}

}  // namespace quillane
