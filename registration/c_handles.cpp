#include "registration/c_handles.h"

#include <atomic>

namespace quillane::capi {
namespace {

std::atomic<std::size_t> liveHandles{0};

}  // namespace

quillane_object* NewObjectHandle(ObjectRef ref) {
  std::string name = ref ? ref->className() : std::string();
  auto* handle = new quillane_object{std::move(ref), std::move(name), {}};
  ++liveHandles;
  return handle;
}

void DeleteObjectHandle(quillane_object* handle) noexcept {
  if (!handle) return;
  if (handle->ref)
    for (auto cookie : handle->cookies) handle->ref->Unadvise(cookie);
  delete handle;
  --liveHandles;
}

quillane_class_factory* NewFactoryHandle(std::string progID) {
  auto* handle = new quillane_class_factory{std::move(progID)};
  ++liveHandles;
  return handle;
}

void DeleteFactoryHandle(quillane_class_factory* handle) noexcept {
  if (!handle) return;
  delete handle;
  --liveHandles;
}

std::size_t LiveHandles() { return liveHandles; }

}  // namespace quillane::capi
