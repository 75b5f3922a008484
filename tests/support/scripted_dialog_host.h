// A dialog host for tests: each modal form is worked by the next script in the queue (typing and
// clicking as a user would), and every message box is recorded.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/erp/dialog_host.h"

namespace quillane::testing {

class ScriptedDialogHost : public erp::DialogHost {
 public:
  using Script = std::function<void(erp::Form&)>;

  void RunModal(erp::Form& form) override {
    ++dialogsShown;
    titles.push_back(form.Caption());
    if (scripts.empty()) return;  // nobody answers: the user closed the window
    Script script = std::move(scripts.front());
    scripts.pop_front();
    script(form);
  }
  void ShowMessage(const std::string& text, erp::MessageIcon, const std::string& title) override {
    messages.push_back(title + ": " + text);
  }

  std::deque<Script> scripts;
  std::vector<std::string> titles;
  std::vector<std::string> messages;
  int dialogsShown = 0;
};

// Installs a scripted host for the life of the object and restores the previous one.
class ScopedDialogHost {
 public:
  ScopedDialogHost() : host(std::make_shared<ScriptedDialogHost>()), previous_(erp::SetDialogHost(host)) {}
  ~ScopedDialogHost() { erp::SetDialogHost(previous_); }
  ScopedDialogHost(const ScopedDialogHost&) = delete;
  ScopedDialogHost& operator=(const ScopedDialogHost&) = delete;

  std::shared_ptr<ScriptedDialogHost> host;

 private:
  std::shared_ptr<erp::DialogHost> previous_;
};

}  // namespace quillane::testing
