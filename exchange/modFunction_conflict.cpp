#include "exchange/modFunction_conflict.h"

#include "exchange/frmConflict.h"
#include "exchange/mdlLanguage.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"
#include "platform/xml/TrzRegistry.h"

namespace quillane::modFunction {
namespace {

const Variant kSkip = Variant(std::int16_t{-1});

void settleByRule(TrzRecord& ctx, std::int16_t decision) {
  ctx.SetValue("m_SameRule", true);
  ctx.SetValue("m_Update_Add_Cancel", decision);
  ctx.SetValue("ExistenceCheck", decision == 0 ? kSkip : ctx.Item("FID"));
}

void askUser(TrzRecord& ctx) {
  auto answer = ShowConflictDialog(CStr(ctx.Item("FNumber")), CStr(ctx.Item("FClassName")));
  std::int16_t type = CInt(answer->GetValue("FType", std::int16_t{0}));
  ctx.SetValue("m_Update_Add_Cancel", type);
  if (type != 2) {
    ctx.SetValue("m_SameRule", CBool(answer->GetValue("FAll", true)));
    ctx.SetValue("ExistenceCheck", type == 0 ? kSkip : ctx.Item("FID"));
  } else {
    ctx.SetValue("ExistenceCheck", kSkip);
    ctx.SetValue("FNumber1", answer->Item("FNumber"));
  }
}

void countClash(TrzRecord& ctx) {
  ctx.SetValue("m_DirtyCount", CLng(ctx.GetValue("m_DirtyCount", std::int32_t{0})) + 1);
  std::string text = CStr(ctx.GetValue("m_DirtyString", ""));
  if (text.empty())
    text = mdlLanguage::LoadLangString("基础资料类别[") + CStr(ctx.Item("FClassName")) +
           mdlLanguage::LoadLangString("]存在以下冲突:") + "\r\n";
  text += CStr(ctx.Item("FNumber")) + "|" + CStr(ctx.Item("FName")) + "\r\n";
  ctx.SetValue("m_DirtyString", text);
}

}  // namespace

void ResolveConflict(TrzRecord& ctx) {
  if (CBool(ctx.GetValue("m_SameRule", false))) {
    ctx.SetValue("ExistenceCheck", CInt(ctx.GetValue("m_Update_Add_Cancel", std::int16_t{0})) == 0 ? kSkip
                                                                                                  : ctx.Item("FID"));
  } else if (!CBool(ctx.GetValue("m_HaveInterFace", false))) {
    ctx.SetValue("ExistenceCheck", ctx.Item("FID"));
  } else {
    std::string rule = GetConflictRule(CStr(ctx.Item("FClassName")));
    if (rule == kRuleAsk) askUser(ctx);
    else if (rule == kRuleOverwrite) settleByRule(ctx, 1);
    else settleByRule(ctx, 0);
  }
  countClash(ctx);
}

std::string GetConflictRule(std::string strClassName) {
  TrzRegistry reader;
  auto hasClass = [&](const char* name) { return reader.KeyExists(std::string(kConflictKey) + "\\" + name); };
  if (Trim(strClassName) == "物料（商品）") strClassName = hasClass("物料") ? "物料" : "商品";
  if (Trim(strClassName) == "仓库" && !hasClass("仓库")) strClassName = "仓位";
  return CStr(reader.ReadValue(std::string(kConflictKey) + "\\" + std::string(Trim(strClassName)), kConflictRuleValue,
                               kRuleAsk));
}

std::shared_ptr<TrzRecord> ShowConflictDialog(const std::string& strOldNumber, const std::string& strClassName) {
  auto dialog = std::make_shared<frmConflict>();
  if (!strClassName.empty()) dialog->SetTitle(dialog->Title() + "-" + strClassName);
  dialog->control("txtOldNumber").SetText(strOldNumber);
  dialog->ShowModal();

  auto answer = std::make_shared<TrzRecord>();
  if (dialog->m_OK) {
    if (dialog->control("OptCancel").Value()) answer->SetValue("FType", std::int16_t{0});
    else if (dialog->control("OptUpdate").Value()) answer->SetValue("FType", std::int16_t{1});
    else if (dialog->control("OptNew").Value()) answer->SetValue("FType", std::int16_t{2});
  } else {
    answer->SetValue("FType", std::int16_t{0});
  }
  if (CInt(answer->GetValue("FType", std::int16_t{0})) != 2)
    answer->SetValue("FAll", dialog->control("chkAll").Value());
  else
    answer->SetValue("FNumber", std::string(Trim(dialog->control("txtNewNumber").Text())));
  return answer;
}

std::int32_t SettleClash(ConflictState& state, bool bHaveInterFace, std::int32_t lExistingID,
                         const std::string& strNumber, const std::string& strName, const std::string& strClassName,
                         std::string& strNewNumber) {
  TrzRecord ctx;
  ctx.SetValue("m_HaveInterFace", bHaveInterFace);
  ctx.SetValue("m_SameRule", state.m_SameRule);
  ctx.SetValue("m_Update_Add_Cancel", state.m_Update_Add_Cancel);
  ctx.SetValue("FId", lExistingID);
  ctx.SetValue("FNumber", strNumber);
  ctx.SetValue("FName", strName);
  ctx.SetValue("FClassName", strClassName);
  ctx.SetValue("m_DirtyCount", state.m_DirtyCount);
  ctx.SetValue("m_DirtyString", state.m_DirtyString);
  ResolveConflict(ctx);
  state.m_SameRule = CBool(ctx.Item("m_SameRule"));
  state.m_Update_Add_Cancel = CInt(ctx.Item("m_Update_Add_Cancel"));
  state.m_DirtyCount = CLng(ctx.Item("m_DirtyCount"));
  state.m_DirtyString = CStr(ctx.Item("m_DirtyString"));
  if (ctx.Exists("FNumber1")) strNewNumber = CStr(ctx.Item("FNumber1"));
  return CLng(ctx.Item("ExistenceCheck"));
}

}  // namespace quillane::modFunction
