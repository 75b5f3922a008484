#include "platform/automation/factory.h"

#include <map>

#include "platform/automation/vbtext.h"

namespace quillane {
namespace {

// The classes the library carries: filled while it loads, read-only afterwards, like a registry.
std::map<std::string, ClassCreator, NoCaseLess>& classes() {
  static std::map<std::string, ClassCreator, NoCaseLess> table;
  return table;
}

struct OverrideEntry {
  std::string progID;
  ClassCreator creator;
};

// Replacements are apartment state: one stack per thread, newest last.
std::vector<OverrideEntry>& overrides() {
  thread_local std::vector<OverrideEntry> stack;
  return stack;
}

const ClassCreator* findCreator(std::string_view progID) {
  auto& stack = overrides();
  for (auto it = stack.rbegin(); it != stack.rend(); ++it)
    if (SameText(it->progID, progID)) return &it->creator;
  auto found = classes().find(progID);
  return found == classes().end() ? nullptr : &found->second;
}

}  // namespace

void RegisterClass(std::string progID, ClassCreator creator) { classes()[std::move(progID)] = std::move(creator); }

ObjectRef CreateObject(std::string_view progID) {
  const ClassCreator* creator = findCreator(progID);
  if (!creator || !*creator) throw vbError(VbError::CannotCreateObject);
  ClassCreator copy = *creator;  // the creator may itself install or remove overrides
  ObjectRef object = copy();
  if (!object) throw vbError(VbError::CannotCreateObject);
  return object;
}

bool IsClassRegistered(std::string_view progID) { return findCreator(progID) != nullptr; }

std::vector<std::string> RegisteredProgIDs() {
  std::vector<std::string> ids;
  for (const auto& [id, creator] : classes()) ids.push_back(id);
  return ids;
}

ClassOverride::ClassOverride(std::string progID, ClassCreator creator)
    : progID_(progID), depth_(overrides().size()) {
  overrides().push_back(OverrideEntry{std::move(progID), std::move(creator)});
}

ClassOverride::~ClassOverride() { overrides().resize(depth_); }

}  // namespace quillane
