// The C handles: ids looked up in a table of the live ones before any use, and how many are alive (the
// library may unload when none is).
//
// A handle is an id, never an address: a released, forged or never-issued handle is refused with
// QUILLANE_E_HANDLE instead of being dereferenced, and an id is never given out twice, so a stale handle
// cannot reach an object created later at the same address. Callers may use handles from any thread, so
// the table is guarded by a mutex; no object code runs while it is held (a member may call the C
// interface again, and an object's destructor may release handles of its own).
#pragma once

#include <cstddef>
#include <string>

#include "platform/automation/object.h"
#include "quillane/quillane.h"

namespace quillane::capi {

quillane_object* NewObjectHandle(ObjectRef ref);
// The object a live handle refers to.
ObjectRef ObjectOf(const quillane_object* handle);
// The class name of a live handle's object; the text stays put until the handle is released.
const std::string& ClassNameOf(const quillane_object* handle);
bool IsLive(const quillane_object* handle);
// Notes an advise made through the handle, so that releasing it undoes the connection; false when
// another thread released the handle meanwhile (the caller undoes the connection).
bool KeepCookie(const quillane_object* handle, AutomationObject::SinkCookie cookie);
// Forgets an advise made through the handle; false when it was not made through this one.
bool DropCookie(const quillane_object* handle, AutomationObject::SinkCookie cookie);
// Releases a live handle and undoes the advises made through it; false (nothing done) for a handle
// that is not live.
bool DeleteObjectHandle(const quillane_object* handle) noexcept;

quillane_class_factory* NewFactoryHandle(std::string progID);
std::string ProgIDOf(const quillane_class_factory* handle);
bool DeleteFactoryHandle(const quillane_class_factory* handle) noexcept;

// Every live handle, objects and factories.
std::size_t LiveHandles();

// The refusal of a handle that is not live.
[[noreturn]] void RefuseHandle();

}  // namespace quillane::capi
