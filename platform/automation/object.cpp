#include "platform/automation/object.h"

#include <algorithm>

#include "platform/automation/vbtext.h"

namespace quillane {

void DispatchTable::add(Member member) { members_.push_back(std::move(member)); }

const Member* DispatchTable::find(std::string_view name, InvokeKind kind) const {
  for (const Member& m : members_)
    if (m.kind == kind && SameText(m.name, name)) return &m;
  return nullptr;
}

const Member* DispatchTable::find(DispId id, InvokeKind kind) const {
  for (const Member& m : members_)
    if (m.kind == kind && m.id == id) return &m;
  return nullptr;
}

std::optional<DispId> DispatchTable::idOf(std::string_view name) const {
  for (const Member& m : members_)
    if (SameText(m.name, name)) return m.id;
  return std::nullopt;
}

const DispatchTable& AutomationObject::dispatchTable() const {
  static const DispatchTable none;
  return none;
}

Variant AutomationObject::Invoke(std::string_view name, InvokeKind kind, Arguments args) {
  const Member* m = dispatchTable().find(name, kind);
  if (!m) throw vbError(VbError::MemberNotSupported);
  // Keep the object alive for the whole call, even when the call releases the caller's last reference.
  auto self = weak_from_this().lock();
  return m->invoke(*this, args);
}

Variant AutomationObject::Invoke(DispId id, InvokeKind kind, Arguments args) {
  const Member* m = dispatchTable().find(id, kind);
  if (!m) throw vbError(VbError::MemberNotSupported);
  auto self = weak_from_this().lock();
  return m->invoke(*this, args);
}

Variant AutomationObject::Get(std::string_view name) { return Invoke(name, InvokeKind::Get, {}); }

void AutomationObject::Let(std::string_view name, Variant value) {
  Invoke(name, InvokeKind::Let, Arguments(&value, 1));
}

void AutomationObject::Set(std::string_view name, ObjectRef value) {
  Variant v(std::move(value));
  Invoke(name, InvokeKind::Set, Arguments(&v, 1));
}

AutomationObject::SinkCookie AutomationObject::Advise(EventSink sink) {
  SinkCookie cookie = nextCookie_++;
  sinks_.push_back(Sink{cookie, std::make_shared<EventSink>(std::move(sink))});
  return cookie;
}

void AutomationObject::Unadvise(SinkCookie cookie) {
  std::erase_if(sinks_, [cookie](const Sink& s) { return s.cookie == cookie; });
}

void AutomationObject::RaiseEvent(std::string_view event, DispId id, Arguments args) {
  // A sink may unadvise itself or others, or release this object, while the event runs.
  auto self = weak_from_this().lock();
  std::vector<Sink> current = sinks_;
  for (const Sink& s : current) (*s.fn)(event, id, args);
}

}  // namespace quillane
