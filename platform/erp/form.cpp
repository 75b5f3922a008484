#include "platform/erp/form.h"

#include "platform/automation/vbtext.h"

namespace quillane::erp {

DispatchTable ExtendDispatchTable(const DispatchTable& own, const DispatchTable& base) {
  DispatchTable table = own;
  for (const Member& m : base.members()) table.add(m);
  return table;
}

FormControl::FormControl(std::string name, std::string caption)
    : name_(std::move(name)), caption_(std::move(caption)) {}

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

const DispatchTable& Form::FormMembers() {
  static const DispatchTable table = ExtendDispatchTable(DispatchBuilder<Form>()
                                                             .get("ControlCount", 10, &Form::ControlCount)
                                                             .method("Controls", 11, &Form::Controls)
                                                             .build(),
                                                         ControlMembers());
  return table;
}

}  // namespace quillane::erp
