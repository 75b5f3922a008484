// A dialog host for the terminal: shows a form's texts on standard error and lets the user click its
// controls or fill its text boxes by typing on standard input.
#pragma once

#include <memory>

#include "platform/erp/dialog_host.h"

namespace quillane::cli {

std::shared_ptr<erp::DialogHost> MakeTerminalDialogHost();

}  // namespace quillane::cli
