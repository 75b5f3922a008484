#include "platform/xml/record_values.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <memory>

#include "platform/automation/vbconv.h"

namespace quillane::xml_detail {
namespace {

// XSD collapses blanks, tabs and line breaks around the lexical form of a number, a Boolean or a date.
std::string_view collapsed(const std::string& text) {
  std::string_view s = text;
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace

std::string TextOfValue(const Variant& value, ValueKind kind) {
  if (const bool* b = value.tryAs<bool>(); b && kind == ValueKind::Boolean) return *b ? "true" : "false";
  if (const Date* d = value.tryAs<Date>()) return FormatDate(*d, 'T');
  // XSD spells a double that is no number "NaN"; written as CStr writes it ("NAN") the document would be
  // refused. Infinities come out as XSD wants them ("INF", "-INF").
  if (const double* d = value.tryAs<double>()) {
    if (std::isnan(*d)) return "NaN";
    // CStr keeps 15 significant digits, all a value this library stores has; a float that another
    // program wrote with 16 or 17 would lose its last ones, so it gets the shortest text that reads back
    // as the same Double.
    std::string text = CStr(value);
    double back = 0;
    std::from_chars(text.data(), text.data() + text.size(), back);
    if (back == *d || std::isinf(*d)) return text;
    char shortest[32];
    return std::string(shortest, std::to_chars(shortest, shortest + sizeof shortest, *d).ptr);
  }
  return CStr(value);
}

Variant ValueOfText(std::string text, ValueKind kind) {
  std::string_view s = collapsed(text);
  switch (kind) {
    case ValueKind::Text: break;
    case ValueKind::Boolean:
      if (s == "true" || s == "1") return Variant(true);
      if (s == "false" || s == "0") return Variant(false);
      break;
    case ValueKind::WholeNumber: {
      if (!s.empty() && s.front() == '+') s.remove_prefix(1);
      std::int32_t n = 0;
      auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
      if (ec == std::errc() && end == s.data() + s.size()) return Variant(n);
      break;
    }
    case ValueKind::Number: {
      if (!s.empty() && s.front() == '+') s.remove_prefix(1);
      double d = 0;
      auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), d);
      if (ec != std::errc() || end != s.data() + s.size()) break;
      // More digits than a Double writes back: kept as written, as a whole number beyond a Long is, so
      // that the statement it goes into gets every one.
      Decimal exact;
      if (Decimal::FromText(s, true, Decimal::kMaxDigits, exact) != Decimal::Parsed::Ok || exact.digits() > 15) break;
      return Variant(d);
    }
    case ValueKind::Date: {
      Date d;
      if (ParseDate(s, d)) return Variant(d);
      break;
    }
  }
  return Variant(std::move(text));
}

void AddChild(TrzRecord& record, const std::string& key, Variant value, const ElementShape* shape) {
  bool repeated = shape ? shape->repeated : record.Exists(key);
  if (!repeated) {
    record.SetValue(key, std::move(value));
    return;
  }
  std::shared_ptr<TrzRecords> vector = record.GetVector(key);
  if (!vector) {
    vector = std::make_shared<TrzRecords>();
    if (!shape) vector->Add(record.Item(key));
    record.SetObject(key, vector);
  }
  vector->Add(std::move(value));
}

}  // namespace quillane::xml_detail
