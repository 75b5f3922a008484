// The forms of the library as the form-resource loader sees them: a form and its controls expose their
// name, caption and font through automation, so that the loader sets a dialog's texts and font by
// member name, late-bound, without knowing the dialog's class.
//
// Members (dispatch ids 1 to 99; a class that adds members of its own uses 100 and above):
//   a control, and the form itself:
//     Name (get)                   the name the dialog's code knows it by
//     Caption (get, let)           the text it shows; empty for a control that shows no caption (a text
//                                  box), which the loader then leaves alone
//     FontName, FontSize (get, let)
//     Kind (get)                   what the control is (ControlKind)
//     Text (get, let)              what a text box holds
//     Value (get, let)             whether an option is selected or a check box ticked
//     Enabled (get, let)
//   a form also:
//     ControlCount (get)           the number of its controls
//     Controls(index or name)      a control by 0-based position, or by name without regard to case
//                                  (the first of that name); error 9 when there is none
//     Visible (get)                True while the form is shown
//     Click(name)                  what a user's click on the named control does: an option becomes
//                                  the selected one of the form, a check box toggles, and the form's
//                                  handler runs; a disabled control ignores the click
//     Hide()                       closes the form as its window's close box does
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/automation/object.h"

namespace quillane::erp {

// `own` followed by `base`: the table of a class that adds members to its base class's. A member of
// `own` hides a member of `base` of the same name and kind.
DispatchTable ExtendDispatchTable(const DispatchTable& own, const DispatchTable& base);

enum class ControlKind : std::int32_t { Label, TextBox, Frame, OptionButton, CheckBox, CommandButton };

class FormControl : public AutomationObject {
 public:
  // The font starts as the library's forms are designed: "宋体", 9 points.
  FormControl(std::string name, std::string caption, ControlKind kind = ControlKind::Label);

  const std::string& Name() const { return name_; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { caption_ = std::move(caption); }
  const std::string& FontName() const { return fontName_; }
  void SetFontName(std::string fontName) { fontName_ = std::move(fontName); }
  double FontSize() const { return fontSize_; }
  void SetFontSize(double fontSize) { fontSize_ = fontSize; }
  ControlKind Kind() const { return kind_; }
  std::int32_t KindCode() const { return static_cast<std::int32_t>(kind_); }
  const std::string& Text() const { return text_; }
  void SetText(std::string text) { text_ = std::move(text); }
  bool Value() const { return value_; }
  void SetValue(bool value) { value_ = value; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }

  static const DispatchTable& ControlMembers();
  const DispatchTable& dispatchTable() const override { return ControlMembers(); }
  std::string className() const override { return "Control"; }

 private:
  std::string name_;
  std::string caption_;
  std::string fontName_ = "宋体";
  double fontSize_ = 9;
  ControlKind kind_;
  std::string text_;
  bool value_ = false;
  bool enabled_ = true;
};

class Form : public FormControl {
 public:
  using FormControl::FormControl;

  // Adds a control (a FormControl, or a class derived from it that adds members) and returns it.
  template <class C>
  std::shared_ptr<C> AddControl(std::shared_ptr<C> control) {
    controls_.push_back(control);
    return control;
  }
  const std::vector<std::shared_ptr<FormControl>>& controls() const { return controls_; }

  std::int32_t ControlCount() const { return static_cast<std::int32_t>(controls_.size()); }
  ObjectRef Controls(const Variant& indexOrName) const;
  // The named control, for the form's own code; error 9 when there is none.
  FormControl& control(std::string_view name) const;

  bool Visible() const { return visible_; }
  void Show() { visible_ = true; }
  void Hide() { visible_ = false; }
  void Click(const std::string& controlName);
  // The control that has the focus (empty when none was given it).
  const std::string& focus() const { return focus_; }
  void SetFocus(std::string controlName) { focus_ = std::move(controlName); }

  static const DispatchTable& FormMembers();
  const DispatchTable& dispatchTable() const override { return FormMembers(); }
  std::string className() const override { return "Form"; }

 protected:
  // A form's click handlers (cmdOK_Click and so on): called after the click changed the control.
  virtual void OnClick(const std::string& controlName) { (void)controlName; }

 private:
  std::vector<std::shared_ptr<FormControl>> controls_;
  bool visible_ = false;
  std::string focus_;
};

}  // namespace quillane::erp
