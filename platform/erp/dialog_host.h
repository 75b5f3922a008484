// The dialog host: the library's modal forms and message boxes are shown by whoever hosts the library
// (a terminal, a window system, a test script). With no host installed a form closes at once, as if
// its user had closed the window, and a message box shows nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/erp/form.h"

namespace quillane::erp {

enum class MessageIcon : std::int32_t { Critical = 16, Question = 32, Exclamation = 48, Information = 64 };

class DialogHost {
 public:
  virtual ~DialogHost() = default;
  // Lets the user work the shown form (type into its text boxes, Click its controls) until the form
  // hides itself. Returning while the form is still visible means the user closed the window.
  virtual void RunModal(Form& form) = 0;
  // Shows a message and returns when the user has read it.
  virtual void ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) = 0;
};

// Installs the host for this thread and returns the one it replaces (null: no host).
std::shared_ptr<DialogHost> SetDialogHost(std::shared_ptr<DialogHost> host);

// Shows the form modally through the host; when the call returns the form is hidden.
void ShowModal(Form& form);
void MsgBox(const std::string& text, MessageIcon icon, const std::string& title);

}  // namespace quillane::erp
