#include <gtest/gtest.h>

#include <optional>

#include "exchange/frmConflict.h"
#include "exchange/mdlLanguage.h"
#include "exchange/modFunction_conflict.h"
#include "platform/automation/automation.h"
#include "platform/registry/registry.h"
#include "support/environment.h"
#include "support/scripted_dialog_host.h"

namespace quillane {
namespace {

using modFunction::ResolveConflict;
using testing::ScriptedDialogHost;

const std::int16_t kSkip = -1;
const std::int32_t kExistingId = 42;

// What a user does in the dialog.
ScriptedDialogHost::Script answer(const char* option, bool applyToAll = false, const char* newNumber = "") {
  return [=](erp::Form& form) {
    form.Click(option);
    if (applyToAll) form.Click("chkAll");
    form.control("txtNewNumber").SetText(newNumber);
    form.Click("cmdOK");
  };
}
ScriptedDialogHost::Script pressCancel(bool applyToAll) {
  return [=](erp::Form& form) {
    if (applyToAll) form.Click("chkAll");
    form.Click("cmdCancel");
  };
}

class ConflictTest : public ::testing::Test {
 protected:
  void SetUp() override { mdlLanguage::ResetForTests(); }
  void setRule(const std::string& className, const std::string& rule) {
    registry::WriteValue(std::string(modFunction::kConflictKey) + "\\" + className, modFunction::kConflictRuleValue,
                         rule);
  }
  std::shared_ptr<TrzRecord> clash(bool haveInterface, bool sameRule = false, std::int16_t decision = 0,
                                   const char* className = "部门") {
    auto ctx = std::make_shared<TrzRecord>();
    ctx->SetValue("m_HaveInterFace", haveInterface);
    ctx->SetValue("m_SameRule", sameRule);
    ctx->SetValue("m_Update_Add_Cancel", decision);
    ctx->SetValue("FId", kExistingId);  // read back as "FID": keys ignore case
    ctx->SetValue("FNumber", "01.001");
    ctx->SetValue("FName", "销售部");
    ctx->SetValue("FClassName", className);
    ctx->SetValue("m_DirtyCount", std::int32_t{0});
    ctx->SetValue("m_DirtyString", "");
    return ctx;
  }

  testing::TempDir dir;
  testing::ScopedEnv registryFile{"QUILLANE_REGISTRY", dir.file("registry.ini")};
  testing::ScopedEnv language{"QUILLANE_LANGUAGE", "chs"};
  testing::ScopedDialogHost dialogs;
};

struct ConflictCase {
  const char* what;
  std::optional<std::string> rule;  // nullopt: no rule stored for the class
  bool haveInterface;
  bool sameRule;                    // an answer that already holds...
  std::int16_t heldDecision;        // ...and what it is
  ScriptedDialogHost::Script user;  // empty: the user closes the window
  std::int32_t existenceCheck;
  bool sameRuleAfter;
  std::int16_t decisionAfter;
  int dialogs;
  const char* newNumber = nullptr;
};

void PrintTo(const ConflictCase& c, std::ostream* os) { *os << c.what; }

class ConflictCases : public ConflictTest, public ::testing::WithParamInterface<ConflictCase> {};

TEST_P(ConflictCases, SettleTheClashAndCountIt) {
  const ConflictCase& c = GetParam();
  if (c.rule) setRule("部门", *c.rule);
  if (c.user) dialogs.host->scripts.push_back(c.user);
  auto ctx = clash(c.haveInterface, c.sameRule, c.heldDecision);

  ResolveConflict(*ctx);

  EXPECT_EQ(CLng(ctx->Item("ExistenceCheck")), c.existenceCheck);
  EXPECT_EQ(CBool(ctx->Item("m_SameRule")), c.sameRuleAfter);
  EXPECT_EQ(CInt(ctx->Item("m_Update_Add_Cancel")), c.decisionAfter);
  EXPECT_EQ(dialogs.host->dialogsShown, c.dialogs);
  if (c.newNumber)
    EXPECT_EQ(CStr(ctx->Item("FNumber1")), c.newNumber);
  else
    EXPECT_FALSE(ctx->Exists("FNumber1"));
  EXPECT_EQ(CLng(ctx->Item("m_DirtyCount")), 1);
  EXPECT_EQ(CStr(ctx->Item("m_DirtyString")), "基础资料类别[部门]存在以下冲突:\r\n01.001|销售部\r\n");
}

const std::string ask = modFunction::kRuleAsk, skip = modFunction::kRuleSkip,
                  overwrite = modFunction::kRuleOverwrite;

INSTANTIATE_TEST_SUITE_P(
    Table, ConflictCases,
    ::testing::Values(
        // An answer that holds comes first, whatever the rule and the permission to ask.
        ConflictCase{"held skip", overwrite, true, true, 0, {}, kSkip, true, 0, 0},
        ConflictCase{"held update", skip, false, true, 1, {}, kExistingId, true, 1, 0},
        // Without permission to ask the existing record is updated and nothing is remembered.
        ConflictCase{"no interface, ask rule", ask, false, false, 0, {}, kExistingId, false, 0, 0},
        ConflictCase{"no interface, skip rule", skip, false, false, 0, {}, kExistingId, false, 0, 0},
        // The rules, when asking is allowed.
        ConflictCase{"skip rule", skip, true, false, 0, {}, kSkip, true, 0, 0},
        ConflictCase{"overwrite rule", overwrite, true, false, 0, {}, kExistingId, true, 1, 0},
        ConflictCase{"unknown rule skips", std::string("whatever"), true, false, 0, {}, kSkip, true, 0, 0},
        // Asking: no rule stored means ask.
        ConflictCase{"no rule, user updates", std::nullopt, true, false, 0, answer("OptUpdate"), kExistingId,
                     false, 1, 1},
        ConflictCase{"user updates for all", ask, true, false, 0, answer("OptUpdate", true), kExistingId, true, 1,
                     1},
        ConflictCase{"user skips", ask, true, false, 0, answer("OptCancel"), kSkip, false, 0, 1},
        ConflictCase{"user skips for all", ask, true, false, 0, answer("OptCancel", true), kSkip, true, 0, 1},
        ConflictCase{"user gives a new number", ask, true, false, 0, answer("OptNew", false, "  01.009 "), kSkip,
                     false, 2, 1, "01.009"},
        ConflictCase{"user presses cancel", ask, true, false, 0, pressCancel(false), kSkip, false, 0, 1},
        ConflictCase{"cancel with apply to all", ask, true, false, 0, pressCancel(true), kSkip, true, 0, 1},
        ConflictCase{"user closes the window", ask, true, false, 0, {}, kSkip, false, 0, 1}));

TEST_F(ConflictTest, WithoutInterfaceEveryClashUpdatesAndIsListed) {
  auto ctx = clash(false);
  for (const char* number : {"1", "2", "3"}) {
    ctx->SetValue("FNumber", number);
    ResolveConflict(*ctx);
    EXPECT_EQ(CLng(ctx->Item("ExistenceCheck")), kExistingId);
  }
  EXPECT_EQ(CLng(ctx->Item("m_DirtyCount")), 3);
  EXPECT_EQ(CStr(ctx->Item("m_DirtyString")),
            "基础资料类别[部门]存在以下冲突:\r\n1|销售部\r\n2|销售部\r\n3|销售部\r\n");
}

TEST_F(ConflictTest, ANewNumberNeverHoldsSoTheNextClashAsksAgain) {
  setRule("部门", ask);
  dialogs.host->scripts = {answer("OptNew", false, "9"), answer("OptUpdate")};
  auto first = clash(true);
  ResolveConflict(*first);
  // The importer carries the held answer forward into the next clash.
  auto second = clash(true, CBool(first->Item("m_SameRule")), CInt(first->Item("m_Update_Add_Cancel")));
  ResolveConflict(*second);
  EXPECT_EQ(dialogs.host->dialogsShown, 2);
  EXPECT_EQ(CLng(second->Item("ExistenceCheck")), kExistingId);
}

TEST_F(ConflictTest, ClassCaptionsFallBackToTheKeysTheErpWrites) {
  setRule("仓位", overwrite);
  setRule("商品", skip);
  EXPECT_EQ(modFunction::GetConflictRule("仓库"), overwrite);
  EXPECT_EQ(modFunction::GetConflictRule("物料（商品）"), skip);
  setRule("物料", overwrite);
  setRule("仓库", skip);
  EXPECT_EQ(modFunction::GetConflictRule("物料（商品）"), overwrite);
  EXPECT_EQ(modFunction::GetConflictRule(" 仓库 "), skip);
  EXPECT_EQ(modFunction::GetConflictRule("客户"), ask);
}

TEST_F(ConflictTest, OverwriteForWarehousesHoldsAfterTheFirstClash) {
  setRule("仓位", overwrite);
  auto ctx = clash(true, false, 0, "仓库");
  ResolveConflict(*ctx);
  // The registry is gone now; a second read would find no rule and ask.
  registry::DeleteKey(modFunction::kConflictKey);
  ResolveConflict(*ctx);
  EXPECT_EQ(CLng(ctx->Item("ExistenceCheck")), kExistingId);
  EXPECT_EQ(dialogs.host->dialogsShown, 0);
}

TEST_F(ConflictTest, DialogRefusesAnEmptyNewNumberButTakesBlanks) {
  dialogs.host->scripts.push_back([](erp::Form& form) {
    form.Click("OptNew");
    form.Click("cmdOK");  // nothing typed: refused, the dialog stays
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(form.focus(), "txtNewNumber");
    form.control("txtNewNumber").SetText("   ");
    form.Click("cmdOK");
  });
  auto answer = modFunction::ShowConflictDialog("01", "部门");
  EXPECT_EQ(dialogs.host->messages, (std::vector<std::string>{"维墨提示!: 请输入新的核算项目代码!"}));
  EXPECT_EQ(CInt(answer->Item("FType")), 2);
  EXPECT_EQ(CStr(answer->Item("FNumber")), "");
  EXPECT_FALSE(answer->Exists("FAll"));
}

TEST_F(ConflictTest, DialogShowsTheNumberAndClassAndFollowsTheOptions) {
  dialogs.host->scripts.push_back([](erp::Form& form) {
    EXPECT_EQ(form.control("txtOldNumber").Text(), "01.001");
    EXPECT_TRUE(form.control("OptCancel").Value());
    EXPECT_FALSE(form.control("txtNewNumber").Enabled());
    form.Click("OptNew");
    EXPECT_FALSE(form.control("chkAll").Enabled());
    EXPECT_TRUE(form.control("txtNewNumber").Enabled());
    form.Click("OptUpdate");
    EXPECT_TRUE(form.control("chkAll").Enabled());
    EXPECT_FALSE(form.control("OptNew").Value());
    form.Click("cmdOK");
  });
  auto answer = modFunction::ShowConflictDialog("01.001", "部门");
  EXPECT_EQ(dialogs.host->titles, (std::vector<std::string>{"基础资料冲突-部门"}));
  EXPECT_EQ(CInt(answer->Item("FType")), 1);
  EXPECT_FALSE(CBool(answer->Item("FAll")));
}

TEST_F(ConflictTest, DialogCaptionsFollowTheLanguage) {
  testing::ScopedEnv english{"QUILLANE_LANGUAGE", "en"};
  mdlLanguage::ResetForTests();
  dialogs.host->scripts.push_back([](erp::Form& form) {
    EXPECT_EQ(form.control("cmdOK").Caption(), "OK");
    EXPECT_NE(form.control("labTip").Caption(), "目的账套中存在与源账套代码相同名称不同的同类别数据：");
  });
  modFunction::ShowConflictDialog("1", "");
  EXPECT_EQ(dialogs.host->titles, (std::vector<std::string>{"Base data conflict"}));
  mdlLanguage::ResetForTests();
}

}  // namespace
}  // namespace quillane
