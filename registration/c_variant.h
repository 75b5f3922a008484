// Variants across the C boundary: C variants to the library's and back, and arrays of C variants that
// free themselves.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/automation/object.h"
#include "quillane/quillane.h"

namespace quillane::capi {

// The library's value of a C variant; an unknown type code is a Refusal (QUILLANE_E_INVALIDARG).
Variant FromC(const quillane_variant& in);
// Frees what the variant holds and leaves it Empty; false when it held a handle that was not live (the
// variant is emptied all the same).
bool Free(quillane_variant& variant) noexcept;
// Clears out, then makes it hold value (texts, bytes and a new object handle of its own).
void ToC(const Variant& value, quillane_variant& out);

// The C arguments of a call as the library's, and what the call assigned written back: only the
// arguments whose value changed are replaced, so an untouched argument keeps its text and handle.
std::vector<Variant> FromC(const quillane_variant* args, std::size_t count);
void WriteBack(const std::vector<Variant>& values, quillane_variant* args);
// The other way, for an event: what a callback assigned to its C arguments goes back to the raiser.
void TakeBack(const quillane_variant* args, Arguments values);

// C copies of an event's arguments for a callback, cleared when it goes.
class CArguments {
 public:
  explicit CArguments(const Arguments& args);
  ~CArguments();
  CArguments(const CArguments&) = delete;
  CArguments& operator=(const CArguments&) = delete;
  quillane_variant* data() { return values_.data(); }
  std::size_t size() const { return values_.size(); }

 private:
  std::vector<quillane_variant> values_;
};

}  // namespace quillane::capi
