#include "platform/automation/variant.h"

#include "platform/automation/object.h"

namespace quillane {

VarType Variant::type() const {
  static constexpr VarType byIndex[] = {VarType::Empty,  VarType::Null,     VarType::Boolean,
                                        VarType::Integer, VarType::Long,    VarType::Double,
                                        VarType::Currency, VarType::Date,   VarType::String,
                                        VarType::Bytes,  VarType::Object,   VarType::Decimal};
  return byIndex[value_.index()];
}

bool Variant::isNumeric() const {
  switch (type()) {
    case VarType::Boolean:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Double:
    case VarType::Currency:
    case VarType::Decimal: return true;
    default: return false;
  }
}

const ObjectRef& Variant::object() const {
  if (const ObjectRef* o = std::get_if<ObjectRef>(&value_)) {
    if (*o) return *o;
    throw vbError(VbError::ObjectNotSet);
  }
  throw vbError(VbError::TypeMismatch);
}

std::string TypeName(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty: return "Empty";
    case VarType::Null: return "Null";
    case VarType::Boolean: return "Boolean";
    case VarType::Integer: return "Integer";
    case VarType::Long: return "Long";
    case VarType::Double: return "Double";
    case VarType::Currency: return "Currency";
    case VarType::Decimal: return "Decimal";
    case VarType::Date: return "Date";
    case VarType::String: return "String";
    case VarType::Bytes: return "Byte()";
    case VarType::Object: {
      const ObjectRef& o = v.as<ObjectRef>();
      return o ? o->className() : "Nothing";
    }
  }
  return "Unknown";
}

}  // namespace quillane
