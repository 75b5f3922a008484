#include "registration/c_handles.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

#include "registration/c_guard.h"

namespace quillane::capi {
namespace {

struct ObjectEntry {
  ObjectRef ref;
  std::string className;
  // The connections advised through this handle, undone when it is released.
  std::vector<AutomationObject::SinkCookie> cookies;
};

// One id sequence for both kinds of handle: a factory's id is no object's.
std::atomic<std::uintptr_t> lastId{0};

template <class Entry>
class HandleTable {
 public:
  std::uintptr_t add(Entry entry) {
    std::uintptr_t id = ++lastId;
    std::lock_guard lock(mutex_);
    live_.emplace(id, std::move(entry));
    return id;
  }
  // Runs use on the live entry under the lock; refuses a handle that is not live.
  template <class F>
  decltype(auto) with(const void* handle, F&& use) {
    std::lock_guard lock(mutex_);
    auto found = live_.find(reinterpret_cast<std::uintptr_t>(handle));
    if (found == live_.end()) RefuseHandle();
    return use(found->second);
  }
  bool contains(const void* handle) {
    std::lock_guard lock(mutex_);
    return live_.contains(reinterpret_cast<std::uintptr_t>(handle));
  }
  // Takes the entry out, so that what it holds is let go outside the lock.
  std::optional<Entry> take(const void* handle) {
    std::lock_guard lock(mutex_);
    auto found = live_.find(reinterpret_cast<std::uintptr_t>(handle));
    if (found == live_.end()) return std::nullopt;
    std::optional<Entry> entry(std::move(found->second));
    live_.erase(found);
    return entry;
  }
  std::size_t size() {
    std::lock_guard lock(mutex_);
    return live_.size();
  }

 private:
  std::mutex mutex_;
  // Node-based: an entry stays where it is while others come and go (ClassNameOf hands out its text).
  std::unordered_map<std::uintptr_t, Entry> live_;
};

// Never destroyed: a caller may release handles from its own static destructors or atexit handlers.
HandleTable<ObjectEntry>& objects() {
  static auto* table = new HandleTable<ObjectEntry>;
  return *table;
}
HandleTable<std::string>& factories() {
  static auto* table = new HandleTable<std::string>;
  return *table;
}

template <class Handle>
Handle* AsHandle(std::uintptr_t id) {
  return reinterpret_cast<Handle*>(id);
}

}  // namespace

void RefuseHandle() {
  throw Refusal(QUILLANE_E_HANDLE,
                AutomationError(QUILLANE_E_HANDLE, "Quillane",
                                "The handle has been released or was not given out by this library"));
}

quillane_object* NewObjectHandle(ObjectRef ref) {
  std::string name = ref ? ref->className() : std::string();
  return AsHandle<quillane_object>(objects().add(ObjectEntry{std::move(ref), std::move(name), {}}));
}

ObjectRef ObjectOf(const quillane_object* handle) {
  return objects().with(handle, [](const ObjectEntry& entry) { return entry.ref; });
}

const std::string& ClassNameOf(const quillane_object* handle) {
  return objects().with(handle, [](const ObjectEntry& entry) -> const std::string& { return entry.className; });
}

bool IsLive(const quillane_object* handle) { return objects().contains(handle); }

bool KeepCookie(const quillane_object* handle, AutomationObject::SinkCookie cookie) {
  try {
    objects().with(handle, [&](ObjectEntry& entry) { entry.cookies.push_back(cookie); });
    return true;
  } catch (const Refusal&) {
    return false;
  }
}

bool DropCookie(const quillane_object* handle, AutomationObject::SinkCookie cookie) {
  return objects().with(handle, [&](ObjectEntry& entry) { return std::erase(entry.cookies, cookie) != 0; });
}

bool DeleteObjectHandle(const quillane_object* handle) noexcept {
  std::optional<ObjectEntry> entry = objects().take(handle);
  if (!entry) return false;
  if (entry->ref)
    for (auto cookie : entry->cookies) entry->ref->Unadvise(cookie);
  return true;
}

quillane_class_factory* NewFactoryHandle(std::string progID) {
  return AsHandle<quillane_class_factory>(factories().add(std::move(progID)));
}

std::string ProgIDOf(const quillane_class_factory* handle) {
  return factories().with(handle, [](const std::string& progID) { return progID; });
}

bool DeleteFactoryHandle(const quillane_class_factory* handle) noexcept { return factories().take(handle).has_value(); }

std::size_t LiveHandles() { return objects().size() + factories().size(); }

}  // namespace quillane::capi
