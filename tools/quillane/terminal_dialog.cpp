#include "tools/quillane/terminal_dialog.h"

#include <iostream>
#include <string>

#include "tools/quillane/progress.h"

namespace quillane::cli {
namespace {

using erp::ControlKind;

bool Clickable(ControlKind kind) {
  return kind == ControlKind::OptionButton || kind == ControlKind::CheckBox || kind == ControlKind::CommandButton;
}

class TerminalDialogHost : public erp::DialogHost {
 public:
  void RunModal(erp::Form& form) override {
    EndProgressLine();
    while (form.Visible()) {
      Show(form);
      std::cerr << "number to click, or \"number text\" to type into a text box: " << std::flush;
      std::string line;
      if (!std::getline(std::cin, line)) return;  // end of input closes the window
      std::size_t used = 0;
      std::size_t index = 0;
      try {
        index = std::stoul(line, &used);
      } catch (const std::exception&) {
        continue;
      }
      if (index >= form.controls().size()) continue;
      erp::FormControl& control = *form.controls()[index];
      if (control.Kind() == ControlKind::TextBox)
        control.SetText(used < line.size() ? line.substr(used + 1) : "");
      else if (Clickable(control.Kind()))
        form.Click(control.Name());
    }
  }
  void ShowMessage(const std::string& text, erp::MessageIcon, const std::string& title) override {
    EndProgressLine();
    std::cerr << "[" << title << "] " << text << '\n';
  }

 private:
  static void Show(const erp::Form& form) {
    std::cerr << "== " << form.Caption() << " ==\n";
    for (std::size_t i = 0; i < form.controls().size(); ++i) {
      const erp::FormControl& c = *form.controls()[i];
      if (!c.Enabled()) continue;
      switch (c.Kind()) {
        case ControlKind::Label:
        case ControlKind::Frame:
          if (!c.Caption().empty()) std::cerr << "   " << c.Caption() << '\n';
          break;
        case ControlKind::TextBox:
          std::cerr << i << ") [" << c.Text() << "]\n";
          break;
        case ControlKind::OptionButton:
        case ControlKind::CheckBox:
          std::cerr << i << ") " << (c.Value() ? "(x) " : "( ) ") << c.Caption() << '\n';
          break;
        case ControlKind::CommandButton:
          std::cerr << i << ") <" << c.Caption() << ">\n";
          break;
      }
    }
  }
};

}  // namespace

std::shared_ptr<erp::DialogHost> MakeTerminalDialogHost() { return std::make_shared<TerminalDialogHost>(); }

}  // namespace quillane::cli
