// Automation objects: late-bound calls by member name or dispatch id, and events with by-reference
// arguments that travel back to the raiser.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/variant.h"

namespace quillane {

using DispId = std::int32_t;

enum class InvokeKind : int { Method = 1, Get = 2, Let = 4, Set = 8 };

// The arguments of one late-bound call, in the order the member declares them. An invoker may assign
// to an element: that is how a by-reference argument is written back to the caller.
using Arguments = std::span<Variant>;
using Invoker = std::function<Variant(AutomationObject&, Arguments)>;

struct Member {
  std::string name;
  DispId id;
  InvokeKind kind;
  Invoker invoke;
};

// The members of one public class, declared once. Names compare without regard to case.
class DispatchTable {
 public:
  void add(Member member);
  const Member* find(std::string_view name, InvokeKind kind) const;
  const Member* find(DispId id, InvokeKind kind) const;
  std::optional<DispId> idOf(std::string_view name) const;
  const std::vector<Member>& members() const { return members_; }

 private:
  std::vector<Member> members_;
};

class AutomationObject : public std::enable_shared_from_this<AutomationObject> {
 public:
  AutomationObject() = default;
  AutomationObject(const AutomationObject&) = delete;
  AutomationObject& operator=(const AutomationObject&) = delete;
  virtual ~AutomationObject() = default;

  // The class's members; an object with none answers every late-bound call with error 438.
  virtual const DispatchTable& dispatchTable() const;
  // The class name, as VB's TypeName reports an object.
  virtual std::string className() const { return "Object"; }

  // Late-bound call. Raises error 438 when the class has no such member of that kind; whatever the
  // member raises reaches the caller unchanged.
  Variant Invoke(std::string_view name, InvokeKind kind, Arguments args);
  Variant Invoke(DispId id, InvokeKind kind, Arguments args);

  // Conveniences over Invoke for code that calls by name.
  Variant Call(std::string_view name, std::vector<Variant>& args) { return Invoke(name, InvokeKind::Method, args); }
  Variant Get(std::string_view name);
  void Let(std::string_view name, Variant value);
  void Set(std::string_view name, ObjectRef value);

  // Events. A sink sees every event the object raises, with the arguments by reference: what it assigns
  // travels back to the raiser. Sinks run synchronously, in the order they were advised; a sink may
  // advise or unadvise during an event.
  using EventSink = std::function<void(std::string_view event, DispId id, Arguments args)>;
  using SinkCookie = std::uint32_t;
  SinkCookie Advise(EventSink sink);
  void Unadvise(SinkCookie cookie);

 protected:
  void RaiseEvent(std::string_view event, DispId id, Arguments args);

  // Raises with typed arguments; each non-const lvalue argument receives what the sinks wrote back.
  template <class... A>
  void RaiseEventWith(std::string_view event, DispId id, A&&... args);

 private:
  struct Sink {
    SinkCookie cookie;
    std::shared_ptr<EventSink> fn;
  };
  std::vector<Sink> sinks_;
  SinkCookie nextCookie_ = 1;
};

// ---- Conversions between Variants and the C++ types that members take and return ----

template <class T>
struct VariantConvert;  // fromVariant / toVariant per type, specialised in object_convert.h

template <class T>
T fromVariant(const Variant& v) {
  return VariantConvert<T>::from(v);
}
template <class T>
Variant toVariant(const T& value) {
  return VariantConvert<T>::to(value);
}

}  // namespace quillane

#include "platform/automation/object_convert.h"
#include "platform/automation/object_builder.h"

namespace quillane {

template <class... A>
void AutomationObject::RaiseEventWith(std::string_view event, DispId id, A&&... args) {
  std::vector<Variant> values{toVariant(std::remove_cvref_t<A>(args))...};
  RaiseEvent(event, id, values);
  std::size_t i = 0;
  (detail::writeBack(std::forward<A>(args), values[i++]), ...);
}

}  // namespace quillane
