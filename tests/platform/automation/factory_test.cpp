#include <gtest/gtest.h>

#include "platform/automation/automation.h"

namespace quillane {
namespace {

class Widget : public AutomationObject {
 public:
  std::string className() const override { return "Widget"; }
};
QUILLANE_REGISTER_CLASS("Test.Widget", Widget)

class Replacement : public AutomationObject {
 public:
  std::string className() const override { return "Replacement"; }
};

std::int32_t creationError(std::string_view progID) {
  try {
    CreateObject(progID);
  } catch (const AutomationError& e) {
    return e.number;
  }
  return 0;
}

TEST(ClassFactory, CreatesRegisteredClassesWithoutRegardToCase) {
  EXPECT_EQ(CreateObject("test.widget")->className(), "Widget");
  EXPECT_TRUE(IsClassRegistered("TEST.WIDGET"));
  EXPECT_EQ(creationError("Test.Nothing"), 429);
}

TEST(ClassFactory, OverridesNestAndRestore) {
  {
    ClassOverride outer("Test.Widget", [] { return std::make_shared<Replacement>(); });
    EXPECT_EQ(CreateObject("Test.Widget")->className(), "Replacement");
    {
      ClassOverride failing("Test.Widget", []() -> ObjectRef {
        throw AutomationError(kObjectErrorBase + 1, "Test", "no licence");
      });
      EXPECT_EQ(creationError("Test.Widget"), kObjectErrorBase + 1);
    }
    EXPECT_EQ(CreateObject("Test.Widget")->className(), "Replacement");
    ClassOverride nothing("Test.Absent", [] { return ObjectRef(); });
    EXPECT_EQ(creationError("Test.Absent"), 429);
  }
  EXPECT_EQ(CreateObject("Test.Widget")->className(), "Widget");
  EXPECT_FALSE(IsClassRegistered("Test.Absent"));
}

TEST(YieldHook, DefaultDoesNothingAndAHostHookRuns) {
  YieldToMessageLoop();
  int pumped = 0;
  auto previous = SetYieldHook([&] { ++pumped; });
  YieldToMessageLoop();
  YieldToMessageLoop();
  SetYieldHook(previous);
  YieldToMessageLoop();
  EXPECT_EQ(pumped, 2);
}

}  // namespace
}  // namespace quillane
