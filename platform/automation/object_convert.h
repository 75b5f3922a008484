// How a member's C++ parameter and result types map to Variants (included by object.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>

#include "platform/automation/vbconv.h"

namespace quillane {

template <>
struct VariantConvert<Variant> {
  static Variant from(const Variant& v) { return v; }
  static Variant to(const Variant& v) { return v; }
};
template <>
struct VariantConvert<std::string> {
  static std::string from(const Variant& v) { return CStr(v); }
  static Variant to(const std::string& s) { return Variant(s); }
};
template <>
struct VariantConvert<bool> {
  static bool from(const Variant& v) { return CBool(v); }
  static Variant to(bool b) { return Variant(b); }
};
template <>
struct VariantConvert<std::int16_t> {
  static std::int16_t from(const Variant& v) { return CInt(v); }
  static Variant to(std::int16_t i) { return Variant(i); }
};
template <>
struct VariantConvert<std::int32_t> {
  static std::int32_t from(const Variant& v) { return CLng(v); }
  static Variant to(std::int32_t l) { return Variant(l); }
};
template <>
struct VariantConvert<double> {
  static double from(const Variant& v) { return CDbl(v); }
  static Variant to(double d) { return Variant(d); }
};
// An object parameter: Nothing (Empty) passes as null; anything else must be an object of that class.
template <class T>
  requires std::is_base_of_v<AutomationObject, T>
struct VariantConvert<std::shared_ptr<T>> {
  static std::shared_ptr<T> from(const Variant& v) {
    if (v.isEmpty()) return nullptr;
    if (const ObjectRef* o = v.tryAs<ObjectRef>(); o && !*o) return nullptr;
    return v.objectAs<T>();
  }
  static Variant to(const std::shared_ptr<T>& o) { return Variant(ObjectRef(o)); }
};

namespace detail {

template <class P>
constexpr bool isByRef = std::is_lvalue_reference_v<P> && !std::is_const_v<std::remove_reference_t<P>>;

// After an event or call, a by-reference argument takes back the value the other side left in it.
template <class A>
void writeBack(A&& arg, const Variant& value) {
  if constexpr (isByRef<A&&>) arg = fromVariant<std::remove_cvref_t<A>>(value);
}

}  // namespace detail
}  // namespace quillane
