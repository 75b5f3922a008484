#include "registration/public_classes.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "platform/automation/automation.h"

namespace quillane::registration {
namespace {

TEST(PublicClasses, NameTheTwentyFiveClassesOnceEachWithWellFormedIdentifiers) {
  const std::regex guid("\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}");
  std::set<std::string> names, ids;
  for (const PublicClass& cls : PublicClasses()) {
    EXPECT_TRUE(names.insert(std::string(cls.name)).second) << cls.name;
    EXPECT_EQ(ProgIDOf(cls), "Quillane." + std::string(cls.name));
    // A class's three identifiers are known together or not at all.
    bool known = !cls.classId.empty();
    EXPECT_EQ(!cls.dispatchInterface.empty(), known) << cls.name;
    EXPECT_EQ(!cls.eventInterface.empty(), known) << cls.name;
    for (std::string_view id : {cls.classId, cls.dispatchInterface, cls.eventInterface}) {
      if (id.empty()) continue;
      EXPECT_TRUE(std::regex_match(std::string(id), guid)) << cls.name << " " << id;
      EXPECT_TRUE(ids.insert(std::string(id)).second) << "identifier used twice: " << id;
    }
  }
  EXPECT_EQ(names.size(), 25u);
}

TEST(PublicClasses, HoldEveryClassTheLibraryRegistersUnderItsOwnName) {
  for (const std::string& progID : RegisteredProgIDs()) {
    if (progID.rfind("Quillane.", 0) != 0) continue;
    bool listed = false;
    for (const PublicClass& cls : PublicClasses()) listed = listed || ProgIDOf(cls) == progID;
    EXPECT_TRUE(listed) << progID << " is missing from the table of public classes";
  }
}

TEST(PublicClasses, AreBuiltWhenTheLibraryCarriesThemNotWhenATestStandsIn) {
  const PublicClass* department = FindByClassId("{dfc9e8ef-966b-11d7-9e78-00e01869f6b0}");
  ASSERT_NE(department, nullptr);
  EXPECT_EQ(department->name, "clsDepartment");
  EXPECT_TRUE(IsBuilt(*department));

  for (const PublicClass& cls : PublicClasses()) {
    if (IsBuilt(cls)) continue;
    ClassOverride standIn(ProgIDOf(cls), [] { return std::make_shared<AutomationObject>(); });
    EXPECT_FALSE(IsBuilt(cls)) << cls.name;
  }
  EXPECT_EQ(FindByClassId(""), nullptr);
  EXPECT_EQ(FindByClassId("{00000000-0000-0000-0000-000000000000}"), nullptr);
}

}  // namespace
}  // namespace quillane::registration
