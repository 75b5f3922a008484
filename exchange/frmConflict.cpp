#include "exchange/frmConflict.h"

#include "exchange/mdlLanguage.h"
#include "platform/automation/vbtext.h"
#include "platform/erp/dialog_host.h"

namespace quillane {

using erp::ControlKind;
using erp::FormControl;

frmConflict::frmConflict() : Form("frmConflict", "基础资料冲突") {
  struct Layout {
    const char* name;
    const char* caption;
    ControlKind kind;
  };
  static constexpr Layout layout[] = {
      {"labTip", "目的账套中存在与源账套代码相同名称不同的同类别数据：", ControlKind::Label},
      {"labOldNumber", "旧的代码：", ControlKind::Label},
      {"txtOldNumber", "", ControlKind::TextBox},
      {"Frame", "处理方式", ControlKind::Frame},
      {"OptNew", "输入新的不冲突代码", ControlKind::OptionButton},
      {"OptCancel", "取消该条记录引入", ControlKind::OptionButton},
      {"OptUpdate", "用新的名称更新", ControlKind::OptionButton},
      {"Frame", "高级", ControlKind::Frame},
      {"labNewNumber", "新的代码：", ControlKind::Label},
      {"txtNewNumber", "", ControlKind::TextBox},
      {"chkAll", "适用当前文件所有此类情况", ControlKind::CheckBox},
      {"cmdOK", "确定", ControlKind::CommandButton},
      {"cmdCancel", "取消", ControlKind::CommandButton},
  };
  for (const Layout& c : layout) AddControl(std::make_shared<FormControl>(c.name, c.caption, c.kind));
  // The dialog opens on the choice that changes nothing in the account set.
  control("OptCancel").SetValue(true);
  control("txtNewNumber").SetEnabled(false);
}

void frmConflict::Load() {
  if (loaded_) return;
  loaded_ = true;
  mdlLanguage::LoadFormText(shared_from_this(), nullptr);
}

std::string frmConflict::Title() {
  Load();
  return Caption();
}

void frmConflict::SetTitle(std::string title) {
  Load();
  SetCaption(std::move(title));
}

void frmConflict::ShowModal() {
  Load();
  erp::ShowModal(*this);
}

void frmConflict::OnClick(const std::string& controlName) {
  if (SameText(controlName, "cmdOK")) cmdOK_Click();
  else if (SameText(controlName, "cmdCancel")) cmdCancel_Click();
  else if (SameText(controlName, "OptCancel") || SameText(controlName, "OptUpdate")) OptCancel_Click();
  else if (SameText(controlName, "OptNew")) OptNew_Click();
}

void frmConflict::cmdOK_Click() {
  // Blanks count as a number here: only a box left empty cannot be confirmed.
  if (control("OptNew").Value() && control("txtNewNumber").Text().empty()) {
    erp::MsgBox(mdlLanguage::LoadLangString("请输入新的核算项目代码!"), erp::MessageIcon::Information,
                mdlLanguage::LoadLangString("维墨提示!"));
    SetFocus("txtNewNumber");
    return;
  }
  m_OK = true;
  Hide();
}

void frmConflict::cmdCancel_Click() {
  m_OK = false;
  Hide();
}

void frmConflict::OptCancel_Click() {
  control("chkAll").SetEnabled(true);
  control("txtNewNumber").SetEnabled(false);
}

void frmConflict::OptNew_Click() {
  control("chkAll").SetEnabled(false);
  control("txtNewNumber").SetEnabled(true);
}

const DispatchTable& frmConflict::dispatchTable() const {
  static const DispatchTable table =
      erp::ExtendDispatchTable(DispatchBuilder<frmConflict>().get("m_OK", 100, &frmConflict::GetOK).build(),
                               Form::FormMembers());
  return table;
}

}  // namespace quillane
