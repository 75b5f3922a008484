#include "platform/automation/error_text.h"

#include "platform/automation/vbtext.h"

namespace quillane {

std::string ShownInError(std::string_view value) {
  std::string shown = Left(value, kShownCodePoints);
  if (shown.size() == value.size()) return shown;
  return shown + "…(" + std::to_string(value.size()) + " bytes)";
}

std::string QuotedValuesShownInError(std::string_view text) {
  // A text shorter than the bound quotes nothing longer.
  if (text.size() <= kShownCodePoints) return std::string(text);
  std::string shown;
  std::size_t from = 0;
  for (std::size_t open = text.find('\''); open != std::string_view::npos; open = text.find('\'', from)) {
    // The value runs to the quote that is not doubled; an unclosed one runs to the end.
    std::size_t close = open + 1;
    while ((close = text.find('\'', close)) != std::string_view::npos && close + 1 < text.size() &&
           text[close + 1] == '\'')
      close += 2;
    const std::size_t end = close == std::string_view::npos ? text.size() : close;
    shown.append(text.substr(from, open + 1 - from));
    shown += ShownInError(text.substr(open + 1, end - open - 1));
    if (close == std::string_view::npos) return shown;
    shown += '\'';
    from = close + 1;
  }
  shown.append(text.substr(from));
  return shown;
}

}  // namespace quillane
