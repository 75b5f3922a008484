// The automation value: what every late-bound argument, property and field value is.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/automation/decimal.h"
#include "platform/automation/errors.h"

namespace quillane {

class AutomationObject;
using ObjectRef = std::shared_ptr<AutomationObject>;
using Bytes = std::vector<std::uint8_t>;

// The type codes of VB's VarType, so that code and callers of the C interface agree on them.
enum class VarType : int {
  Empty = 0,
  Null = 1,
  Integer = 2,
  Long = 3,
  Double = 5,
  Currency = 6,
  Date = 7,
  String = 8,
  Object = 9,
  Boolean = 11,
  Decimal = 14,
  Bytes = 8209,  // an array (8192) of bytes (17)
};

struct Null {
  bool operator==(const Null&) const = default;
};

// A fixed-point amount with four decimals, held as value * 10000.
struct Currency {
  std::int64_t scaled = 0;
  bool operator==(const Currency&) const = default;
};

// A date as automation counts it: days since 1899-12-30, the time of day as the fraction.
struct Date {
  double serial = 0;
  bool operator==(const Date&) const = default;
};

class Variant {
 public:
  Variant() = default;
  Variant(Null n) : value_(n) {}
  Variant(bool b) : value_(b) {}
  Variant(std::int16_t i) : value_(i) {}
  Variant(std::int32_t l) : value_(l) {}
  Variant(double d) : value_(d) {}
  Variant(Currency c) : value_(c) {}
  Variant(Decimal d) : value_(d) {}
  Variant(Date d) : value_(d) {}
  Variant(std::string s) : value_(std::move(s)) {}
  Variant(std::string_view s) : value_(std::string(s)) {}
  Variant(const char* s) : value_(std::string(s)) {}
  Variant(Bytes b) : value_(std::move(b)) {}
  Variant(ObjectRef o) : value_(std::move(o)) {}
  template <class T>
    requires std::is_base_of_v<AutomationObject, T>
  Variant(std::shared_ptr<T> o) : value_(ObjectRef(std::move(o))) {}

  static Variant null() { return Variant(Null{}); }

  VarType type() const;
  bool isEmpty() const { return value_.index() == 0; }
  bool isNull() const { return std::holds_alternative<Null>(value_); }
  bool isObject() const { return std::holds_alternative<ObjectRef>(value_); }
  bool isString() const { return std::holds_alternative<std::string>(value_); }
  bool isBytes() const { return std::holds_alternative<Bytes>(value_); }
  bool isNumeric() const;  // a number type or Boolean, not a text

  // Direct access to the stored alternative; the caller has checked the type.
  template <class T>
  const T& as() const {
    return std::get<T>(value_);
  }
  template <class T>
  const T* tryAs() const {
    return std::get_if<T>(&value_);
  }
  const ObjectRef& object() const;  // raises error 13 when the value holds no object
  template <class T>
  std::shared_ptr<T> objectAs() const;  // raises error 13 when the object is of another class

  // Same type and same value: the comparison tests use. VB's "=" is vbEqual below.
  bool operator==(const Variant& other) const { return value_ == other.value_; }

 private:
  struct EmptyValue {
    bool operator==(const EmptyValue&) const = default;
  };
  std::variant<EmptyValue, Null, bool, std::int16_t, std::int32_t, double, Currency, Date, std::string,
               Bytes, ObjectRef, Decimal>
      value_;
};

// The name of a type as VB's TypeName gives it ("Empty", "Long", "String"...).
std::string TypeName(const Variant& v);

template <class T>
std::shared_ptr<T> Variant::objectAs() const {
  auto typed = std::dynamic_pointer_cast<T>(object());
  if (!typed) throw vbError(VbError::TypeMismatch);
  return typed;
}

}  // namespace quillane
