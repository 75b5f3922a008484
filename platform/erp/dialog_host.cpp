#include "platform/erp/dialog_host.h"

namespace quillane::erp {
namespace {
std::shared_ptr<DialogHost>& installed() {
  thread_local std::shared_ptr<DialogHost> host;
  return host;
}
}  // namespace

std::shared_ptr<DialogHost> SetDialogHost(std::shared_ptr<DialogHost> host) {
  std::shared_ptr<DialogHost> old = std::move(installed());
  installed() = std::move(host);
  return old;
}

void ShowModal(Form& form) {
  form.Show();
  // Held for the call: a host may be replaced while its dialog runs.
  if (std::shared_ptr<DialogHost> host = installed()) host->RunModal(form);
  form.Hide();
}

void MsgBox(const std::string& text, MessageIcon icon, const std::string& title) {
  if (std::shared_ptr<DialogHost> host = installed()) host->ShowMessage(text, icon, title);
}

}  // namespace quillane::erp
