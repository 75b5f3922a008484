#include <gtest/gtest.h>

#include "platform/automation/automation.h"
#include "platform/registry/registry.h"
#include "quillane/quillane.h"
#include "registration/public_classes.h"
#include "support/environment.h"

namespace quillane::registration {
namespace {

using testing::ScopedEnv;
using testing::TempDir;

constexpr const char* kOtherKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Other";

class EntryPoints : public ::testing::Test {
 protected:
  static std::optional<std::string> progIDKey(const PublicClass& cls) {
    return registry::ReadValue("HKEY_CLASSES_ROOT\\" + ProgIDOf(cls) + "\\CLSID", "@");
  }
  static std::optional<std::string> classIdKey(const PublicClass& cls) {
    return registry::ReadValue("HKEY_CLASSES_ROOT\\CLSID\\" + std::string(cls.classId) + "\\ProgID", "@");
  }

  TempDir dir_;
  std::string file_ = dir_.file("registry.ini");
  ScopedEnv registry_{"QUILLANE_REGISTRY", file_};
};

TEST_F(EntryPoints, RegisterWritesEachBuiltClassWithAnIdentifierAndUnregisterRemovesItAlone) {
  registry::WriteValue(kOtherKey, "Kept", "yes");
  ASSERT_EQ(DllRegisterServer(), QUILLANE_S_OK) << quillane_last_error_description();
  int registered = 0;
  for (const PublicClass& cls : PublicClasses()) {
    if (!cls.classId.empty() && IsBuilt(cls)) {
      ++registered;
      EXPECT_EQ(progIDKey(cls), std::string(cls.classId));
      EXPECT_EQ(classIdKey(cls), ProgIDOf(cls));
    } else {
      EXPECT_FALSE(registry::KeyExists("HKEY_CLASSES_ROOT\\" + ProgIDOf(cls))) << cls.name;
    }
  }
  EXPECT_GE(registered, 1);  // departments at least
  ASSERT_EQ(DllRegisterServer(), QUILLANE_S_OK);  // again: the same keys, no second copy

  ASSERT_EQ(DllUnregisterServer(), QUILLANE_S_OK);
  EXPECT_FALSE(registry::KeyExists("HKEY_CLASSES_ROOT\\Quillane.clsDepartment"));
  EXPECT_FALSE(registry::KeyExists("HKEY_CLASSES_ROOT\\CLSID"));
  EXPECT_EQ(registry::ReadValue(kOtherKey, "Kept"), "yes");
  EXPECT_EQ(DllUnregisterServer(), QUILLANE_S_OK);  // nothing left to remove is no error
}

TEST_F(EntryPoints, ARegistryFileThatCannotBeReadFailsRegistrationAndStaysAsItWas) {
  std::string broken = "this is not a registry line\n";
  dir_.write("registry.ini", broken);
  for (auto entryPoint : {&DllRegisterServer, &DllUnregisterServer}) {
    EXPECT_EQ(entryPoint(), QUILLANE_SELFREG_E_CLASS);
    EXPECT_EQ(quillane_last_error_number(), registry::kRegistryFileError);
    EXPECT_NE(std::string(quillane_last_error_description()).find("registry.ini"), std::string::npos)
        << quillane_last_error_description();
  }
  std::ifstream in(file_);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), broken);
}

TEST_F(EntryPoints, GetClassObjectGivesAFactoryForEachBuiltClassOnly) {
  for (const PublicClass& cls : PublicClasses()) {
    if (cls.classId.empty()) continue;
    quillane_class_factory* factory = nullptr;
    quillane_result result = DllGetClassObject(std::string(cls.classId).c_str(), nullptr, &factory);
    if (!IsBuilt(cls)) {
      EXPECT_EQ(result, QUILLANE_CLASS_E_CLASSNOTAVAILABLE) << cls.name;
      EXPECT_EQ(factory, nullptr);
      EXPECT_EQ(quillane_last_error_number(), 429);
      continue;
    }
    ASSERT_EQ(result, QUILLANE_S_OK) << cls.name;
    EXPECT_EQ(DllCanUnloadNow(), QUILLANE_S_FALSE);
    quillane_object* object = nullptr;
    ASSERT_EQ(quillane_factory_create_instance(factory, &object), QUILLANE_S_OK) << quillane_last_error_description();
    EXPECT_EQ(quillane_class_name(object), cls.name);
    quillane_release(object);
    quillane_factory_release(factory);
  }
  EXPECT_EQ(DllCanUnloadNow(), QUILLANE_S_OK);
}

TEST_F(EntryPoints, GetClassObjectChecksTheIdentifiersItIsGiven) {
  const char* department = "{dfc9e8ef-966b-11d7-9e78-00e01869f6b0}";
  struct Case {
    const char* clsid;
    const char* iid;
    quillane_result expected;
  } cases[] = {
      {department, "{00000001-0000-0000-C000-000000000046}", QUILLANE_S_OK},  // IClassFactory
      {department, "{00000000-0000-0000-c000-000000000046}", QUILLANE_S_OK},  // IUnknown
      {department, "{A4221F5A-A078-11D7-9E7D-00E01869F6B0}", QUILLANE_E_NOINTERFACE},
      {"{00000000-0000-0000-0000-000000000000}", nullptr, QUILLANE_CLASS_E_CLASSNOTAVAILABLE},
      {"Quillane.clsDepartment", nullptr, QUILLANE_CLASS_E_CLASSNOTAVAILABLE},
      {"", nullptr, QUILLANE_CLASS_E_CLASSNOTAVAILABLE},
      {nullptr, nullptr, QUILLANE_E_POINTER},
  };
  for (const Case& c : cases) {
    quillane_class_factory* factory = nullptr;
    EXPECT_EQ(DllGetClassObject(c.clsid, c.iid, &factory), c.expected) << (c.clsid ? c.clsid : "null");
    EXPECT_EQ(factory != nullptr, c.expected == QUILLANE_S_OK);
    quillane_factory_release(factory);
  }
  EXPECT_EQ(DllGetClassObject(department, nullptr, nullptr), QUILLANE_E_POINTER);
  EXPECT_EQ(DllCanUnloadNow(), QUILLANE_S_OK);
}

}  // namespace
}  // namespace quillane::registration
