// The four entry points of an in-process server, over the table of public classes and the registry
// file. quillane.h says what each one does on a platform without a COM runtime.
#include "platform/automation/factory.h"
#include "platform/automation/vbtext.h"
#include "platform/registry/registry.h"
#include "registration/c_guard.h"
#include "registration/c_handles.h"
#include "registration/public_classes.h"

using namespace quillane;
using namespace quillane::capi;
using namespace quillane::registration;

namespace {

constexpr const char* kClassesRoot = "HKEY_CLASSES_ROOT\\";
constexpr const char* kDefaultValue = "@";
constexpr const char* kIUnknown = "{00000000-0000-0000-C000-000000000046}";
constexpr const char* kIClassFactory = "{00000001-0000-0000-C000-000000000046}";

std::string ProgIDKey(const PublicClass& cls) { return kClassesRoot + ProgIDOf(cls); }
std::string ClassIdKey(const PublicClass& cls) { return kClassesRoot + std::string("CLSID\\") + std::string(cls.classId); }

}  // namespace

extern "C" {

quillane_result DllRegisterServer(void) {
  return Guarded(
      [] {
        for (const PublicClass& cls : PublicClasses()) {
          if (cls.classId.empty() || !IsBuilt(cls)) continue;
          registry::WriteValue(ProgIDKey(cls) + "\\CLSID", kDefaultValue, cls.classId);
          registry::WriteValue(ClassIdKey(cls) + "\\ProgID", kDefaultValue, ProgIDOf(cls));
        }
        return QUILLANE_S_OK;
      },
      QUILLANE_SELFREG_E_CLASS);
}

// Every class of the table, built or not: keys an older build wrote go too.
quillane_result DllUnregisterServer(void) {
  return Guarded(
      [] {
        for (const PublicClass& cls : PublicClasses()) {
          if (cls.classId.empty()) continue;
          registry::DeleteKey(ProgIDKey(cls));
          registry::DeleteKey(ClassIdKey(cls));
        }
        return QUILLANE_S_OK;
      },
      QUILLANE_SELFREG_E_CLASS);
}

quillane_result DllGetClassObject(const char* clsid, const char* iid, quillane_class_factory** factory) {
  return Guarded([&] {
    quillane_class_factory*& out = Required(factory);
    out = nullptr;
    if (iid && !SameText(iid, kIClassFactory) && !SameText(iid, kIUnknown))
      throw Refusal(QUILLANE_E_NOINTERFACE, VbError::InvalidProcedureCall);
    const PublicClass* cls = FindByClassId(&Required(clsid));
    if (!cls || !IsBuilt(*cls)) throw Refusal(QUILLANE_CLASS_E_CLASSNOTAVAILABLE, VbError::CannotCreateObject);
    out = NewFactoryHandle(ProgIDOf(*cls));
    return QUILLANE_S_OK;
  });
}

quillane_result DllCanUnloadNow(void) { return LiveHandles() == 0 ? QUILLANE_S_OK : QUILLANE_S_FALSE; }

quillane_result quillane_factory_create_instance(quillane_class_factory* factory, quillane_object** object) {
  return Guarded([&] {
    const std::string progID = ProgIDOf(&Required(factory));
    quillane_object*& out = Required(object);
    out = nullptr;
    out = NewObjectHandle(CreateObject(progID));
    return QUILLANE_S_OK;
  });
}

quillane_result quillane_factory_release(quillane_class_factory* factory) {
  return Guarded([&] {
    if (factory && !DeleteFactoryHandle(factory)) RefuseHandle();
    return QUILLANE_S_OK;
  });
}

}  // extern "C"
