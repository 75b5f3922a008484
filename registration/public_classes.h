// The library's public classes as an automation host knows them: ProgID, class identifier and the
// identifiers of the default dispatch and event interfaces. Identifiers that were never assigned stay
// empty; such a class can be created by ProgID but not registered by class identifier.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace quillane::registration {

struct PublicClass {
  std::string_view name;               // "clsDepartment"
  std::string_view classId;            // "{DFC9E8EF-...}", or empty
  std::string_view dispatchInterface;  // "_" + name
  std::string_view eventInterface;     // "__" + name
};

std::span<const PublicClass> PublicClasses();

// "Quillane." and the class name.
std::string ProgIDOf(const PublicClass& cls);
// True when this build carries the class: its ProgID is in the class factory.
bool IsBuilt(const PublicClass& cls);
// The class with this identifier (compared without regard to case), or nullptr.
const PublicClass* FindByClassId(std::string_view classId);

}  // namespace quillane::registration
