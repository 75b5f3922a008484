#include "platform/erp/form.h"

#include "platform/automation/vbtext.h"

namespace quillane::erp {

DispatchTable ExtendDispatchTable(const DispatchTable& own, const DispatchTable& base) {
  DispatchTable table = own;
  for (const Member& m : base.members()) table.add(m);
  return table;
}

FormControl::FormControl(std::string name, std::string caption, ControlKind kind)
    : name_(std::move(name)), caption_(std::move(caption)), kind_(kind) {}

const DispatchTable& FormControl::ControlMembers() {
  static const DispatchTable table =
      DispatchBuilder<FormControl>()
          .get("Name", 1, &FormControl::Name)
          .get("Caption", 2, &FormControl::Caption)
          .let("Caption", 2, &FormControl::SetCaption)
          .get("FontName", 3, &FormControl::FontName)
          .let("FontName", 3, &FormControl::SetFontName)
          .get("FontSize", 4, &FormControl::FontSize)
          .let("FontSize", 4, &FormControl::SetFontSize)
          .get("Kind", 5, &FormControl::KindCode)
          .get("Text", 6, &FormControl::Text)
          .let("Text", 6, &FormControl::SetText)
          .get("Value", 7, &FormControl::Value)
          .let("Value", 7, &FormControl::SetValue)
          .get("Enabled", 8, &FormControl::Enabled)
          .let("Enabled", 8, &FormControl::SetEnabled)
          .build();
  return table;
}

ObjectRef Form::Controls(const Variant& indexOrName) const {
  if (indexOrName.isString()) {
    for (const auto& c : controls_)
      if (SameText(c->Name(), indexOrName.as<std::string>())) return c;
  } else {
    std::int32_t index = CLng(indexOrName);
    if (index >= 0 && index < ControlCount()) return controls_[static_cast<std::size_t>(index)];
  }
  throw vbError(VbError::SubscriptOutOfRange);
}

FormControl& Form::control(std::string_view name) const {
  for (const auto& c : controls_)
    if (SameText(c->Name(), name)) return *c;
  throw vbError(VbError::SubscriptOutOfRange);
}

void Form::Click(const std::string& controlName) {
  FormControl& clicked = control(controlName);
  if (!clicked.Enabled()) return;
  if (clicked.Kind() == ControlKind::OptionButton) {
    for (const auto& c : controls_)
      if (c->Kind() == ControlKind::OptionButton) c->SetValue(c.get() == &clicked);
  } else if (clicked.Kind() == ControlKind::CheckBox) {
    clicked.SetValue(!clicked.Value());
  }
  OnClick(clicked.Name());
}

const DispatchTable& Form::FormMembers() {
  static const DispatchTable table = ExtendDispatchTable(DispatchBuilder<Form>()
                                                             .get("ControlCount", 10, &Form::ControlCount)
                                                             .method("Controls", 11, &Form::Controls)
                                                             .get("Visible", 12, &Form::Visible)
                                                             .method("Click", 13, &Form::Click)
                                                             .method("Hide", 14, &Form::Hide)
                                                             .build(),
                                                         ControlMembers());
  return table;
}

}  // namespace quillane::erp
