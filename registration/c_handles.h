// What the C handles hold, and how many are alive (the library may unload when none is).
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/automation/object.h"
#include "quillane/quillane.h"

struct quillane_object {
  quillane::ObjectRef ref;
  std::string className;
  // The connections advised through this handle, undone when it is released.
  std::vector<quillane::AutomationObject::SinkCookie> cookies;
  // Expires with the handle: an event already under way when a callback releases the handle must not
  // reach the other callbacks advised through it.
  std::shared_ptr<const bool> alive = std::make_shared<const bool>(true);
};

struct quillane_class_factory {
  std::string progID;
};

namespace quillane::capi {

quillane_object* NewObjectHandle(ObjectRef ref);
void DeleteObjectHandle(quillane_object* handle) noexcept;
quillane_class_factory* NewFactoryHandle(std::string progID);
void DeleteFactoryHandle(quillane_class_factory* handle) noexcept;
std::size_t LiveHandles();

}  // namespace quillane::capi
