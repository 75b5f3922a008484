// The class factory: creates public classes and components by ProgID, as CreateObject does.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/object.h"

namespace quillane {

using ClassCreator = std::function<ObjectRef()>;

// Adds a class under a ProgID (compared without regard to case). Called by the registrars below while
// the library loads; a ProgID registered twice keeps the later creator.
void RegisterClass(std::string progID, ClassCreator creator);

// Creates the class registered under progID. Raises error 429 ("ActiveX component can't create object")
// when there is none or its creator gives no object; an error the creator raises reaches the caller.
ObjectRef CreateObject(std::string_view progID);

bool IsClassRegistered(std::string_view progID);
std::vector<std::string> RegisteredProgIDs();

// Puts a replacement under a ProgID for the life of this object, on this thread only (an apartment):
// tests use it to hand the library a failing connection or a recording component. Overrides nest; the
// newest one wins and each destructor restores what was there before it.
class ClassOverride {
 public:
  ClassOverride(std::string progID, ClassCreator creator);
  ~ClassOverride();
  ClassOverride(const ClassOverride&) = delete;
  ClassOverride& operator=(const ClassOverride&) = delete;

 private:
  std::string progID_;
  std::size_t depth_;
};

// Registers class T (default-constructible, derived from AutomationObject) when the library loads.
template <class T>
struct ClassRegistrar {
  explicit ClassRegistrar(std::string progID) {
    RegisterClass(std::move(progID), [] { return std::static_pointer_cast<AutomationObject>(std::make_shared<T>()); });
  }
};

}  // namespace quillane

#define QUILLANE_CONCAT_INNER(a, b) a##b
#define QUILLANE_CONCAT(a, b) QUILLANE_CONCAT_INNER(a, b)
// QUILLANE_REGISTER_CLASS("VLMConnection.Connection", Connection) in the class's .cpp file.
#define QUILLANE_REGISTER_CLASS(progID, Type) \
  static const ::quillane::ClassRegistrar<Type> QUILLANE_CONCAT(quillaneRegistrar_, __LINE__){progID};
