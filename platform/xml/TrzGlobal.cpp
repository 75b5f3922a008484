#include "platform/xml/TrzGlobal.h"

#include "platform/xml/object_support.h"

namespace quillane {

std::shared_ptr<TrzRegistry> TrzGlobal::Registry() const {
  if (!registry_) registry_ = std::make_shared<TrzRegistry>();
  return registry_;
}

Variant TrzGlobal::NullToDefault(const Variant& value, const Variant& fallback) {
  return value.isNull() ? fallback : value;
}

const DispatchTable& TrzGlobal::dispatchTable() const {
  using xml_detail::argument;
  static const DispatchTable table =
      DispatchBuilder<TrzGlobal>()
          .raw("TrzRegistry", 1, InvokeKind::Get, [](TrzGlobal& g, Arguments) { return Variant(g.Registry()); })
          .raw("NullToDefault", 2, InvokeKind::Method,
               [](TrzGlobal&, Arguments a) { return NullToDefault(argument(a, 0, 2), argument(a, 1, 2)); })
          .build();
  return table;
}

}  // namespace quillane
