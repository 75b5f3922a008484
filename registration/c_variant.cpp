#include "registration/c_variant.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "registration/c_guard.h"
#include "registration/c_handles.h"

namespace quillane::capi {
namespace {

template <class T>
T* CopyOut(const void* data, std::size_t length, std::size_t extra) {
  auto* copy = static_cast<T*>(std::malloc(length + extra));
  if (!copy) throw std::bad_alloc();
  if (length) std::memcpy(copy, data, length);
  return copy;
}

}  // namespace

bool Free(quillane_variant& variant) noexcept {
  bool known = true;
  switch (variant.type) {
    case QUILLANE_VT_STRING: std::free(variant.value.string.data); break;
    case QUILLANE_VT_BYTES: std::free(variant.value.bytes.data); break;
    case QUILLANE_VT_OBJECT: known = !variant.value.object || DeleteObjectHandle(variant.value.object); break;
    default: break;
  }
  variant = quillane_variant_empty();
  return known;
}

Variant FromC(const quillane_variant& in) {
  switch (in.type) {
    case QUILLANE_VT_EMPTY: return Variant();
    case QUILLANE_VT_NULL: return Variant::null();
    case QUILLANE_VT_BOOL: return Variant(in.value.boolean != 0);
    case QUILLANE_VT_INT16: return Variant(in.value.int16);
    case QUILLANE_VT_INT32: return Variant(in.value.int32);
    case QUILLANE_VT_DOUBLE: return Variant(in.value.dbl);
    case QUILLANE_VT_CURRENCY: return Variant(Currency{in.value.currency});
    case QUILLANE_VT_DATE: return Variant(Date{in.value.date});
    case QUILLANE_VT_STRING:
      if (!in.value.string.data && in.value.string.length) break;
      return Variant(std::string(in.value.string.data ? in.value.string.data : "", in.value.string.length));
    case QUILLANE_VT_BYTES:
      if (!in.value.bytes.data && in.value.bytes.length) break;
      return Variant(Bytes(in.value.bytes.data, in.value.bytes.data + in.value.bytes.length));
    case QUILLANE_VT_OBJECT: return Variant(in.value.object ? ObjectOf(in.value.object) : ObjectRef());
    case QUILLANE_VT_DECIMAL: {
      const char* text = in.value.decimal;
      std::size_t length = strnlen(text, sizeof in.value.decimal);
      Decimal d;
      if (length == sizeof in.value.decimal ||
          Decimal::FromText({text, length}, false, Decimal::kMaxDigits, d) != Decimal::Parsed::Ok)
        break;
      return Variant(d);
    }
  }
  throw Refusal(QUILLANE_E_INVALIDARG, VbError::InvalidProcedureCall);
}

void ToC(const Variant& value, quillane_variant& out) {
  quillane_variant made = quillane_variant_empty();
  made.type = static_cast<quillane_vartype>(value.type());
  switch (value.type()) {
    case VarType::Empty:
    case VarType::Null: break;
    case VarType::Boolean: made.value.boolean = value.as<bool>() ? 1 : 0; break;
    case VarType::Integer: made.value.int16 = value.as<std::int16_t>(); break;
    case VarType::Long: made.value.int32 = value.as<std::int32_t>(); break;
    case VarType::Double: made.value.dbl = value.as<double>(); break;
    case VarType::Currency: made.value.currency = value.as<Currency>().scaled; break;
    case VarType::Date: made.value.date = value.as<Date>().serial; break;
    case VarType::Decimal: {
      // At most 41 characters: a sign, 38 digits, a point and a leading zero.
      const std::string text = value.as<Decimal>().text();
      std::memcpy(made.value.decimal, text.c_str(), text.size() + 1);
      break;
    }
    case VarType::String: {
      const std::string& text = value.as<std::string>();
      made.value.string.data = CopyOut<char>(text.data(), text.size(), 1);
      made.value.string.data[text.size()] = '\0';
      made.value.string.length = text.size();
      break;
    }
    case VarType::Bytes: {
      const Bytes& bytes = value.as<Bytes>();
      made.value.bytes.data = CopyOut<std::uint8_t>(bytes.data(), bytes.size(), 1);
      made.value.bytes.length = bytes.size();
      break;
    }
    case VarType::Object: {
      const ObjectRef& object = value.as<ObjectRef>();
      made.value.object = object ? NewObjectHandle(object) : nullptr;
      break;
    }
  }
  Free(out);
  out = made;
}

std::vector<Variant> FromC(const quillane_variant* args, std::size_t count) {
  if (count && !args) throw Refusal(QUILLANE_E_POINTER, VbError::InvalidProcedureCall);
  std::vector<Variant> values;
  values.reserve(count);
  for (std::size_t i = 0; i < count; ++i) values.push_back(FromC(args[i]));
  return values;
}

void WriteBack(const std::vector<Variant>& values, quillane_variant* args) {
  for (std::size_t i = 0; i < values.size(); ++i)
    if (!(FromC(args[i]) == values[i])) ToC(values[i], args[i]);
}

void TakeBack(const quillane_variant* args, Arguments values) {
  for (std::size_t i = 0; i < values.size(); ++i) {
    Variant assigned = FromC(args[i]);
    if (!(assigned == values[i])) values[i] = std::move(assigned);
  }
}

CArguments::CArguments(const Arguments& args) : values_(args.size(), quillane_variant_empty()) {
  try {
    for (std::size_t i = 0; i < args.size(); ++i) ToC(args[i], values_[i]);
  } catch (...) {
    for (quillane_variant& v : values_) Free(v);
    throw;
  }
}

CArguments::~CArguments() {
  for (quillane_variant& v : values_) Free(v);
}

}  // namespace quillane::capi

extern "C" quillane_result quillane_variant_clear(quillane_variant* variant) {
  return quillane::capi::Guarded([&] {
    if (variant && !quillane::capi::Free(*variant)) quillane::capi::RefuseHandle();
    return QUILLANE_S_OK;
  });
}
