// The conflict dialog: asks the user what to do with an imported record whose number already belongs
// to another record of the account set (skip it, update the existing record, or add it under a new
// number), and whether the answer holds for the rest of the file.
#pragma once

#include <string>

#include "platform/erp/form.h"

namespace quillane {

class frmConflict : public erp::Form {
 public:
  frmConflict();

  // True when the dialog was closed by its OK button.
  bool m_OK = false;

  // Form_Load: the captions and font in the user's language. Runs once, on the first use of the title
  // or on showing the dialog.
  void Load();
  std::string Title();
  void SetTitle(std::string title);
  // Shows the dialog modally through the dialog host.
  void ShowModal();

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "frmConflict"; }

 protected:
  void OnClick(const std::string& controlName) override;

 private:
  bool GetOK() const { return m_OK; }
  void cmdOK_Click();
  void cmdCancel_Click();
  void OptCancel_Click();
  void OptNew_Click();

  bool loaded_ = false;
};

}  // namespace quillane
