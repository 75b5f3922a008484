#include "platform/xml/bounded_record.h"

#include <utility>

namespace quillane {
namespace {

// A number longer than this is no number of the account set's; enough of it names the record.
constexpr std::size_t kNumberShown = 80;

}  // namespace

void BoundedRecord::Begin(std::int32_t depth) {
  text_.clear();
  number_.clear();
  depth_ = depth;
  ++ordinal_;
  open_ = true;
  overflowed_ = false;
  inNumber_ = false;
}

void BoundedRecord::StartElement(std::int32_t depth, std::string_view localName) {
  inNumber_ = open_ && depth == depth_ + 1 && localName == "Number";
}

void BoundedRecord::EndElement(std::int32_t depth) {
  if (depth == depth_ + 1) inNumber_ = false;
}

void BoundedRecord::Append(std::string_view text, bool isCharacters) {
  if (isCharacters && inNumber_ && number_.size() < kNumberShown)
    number_.append(text.substr(0, kNumberShown - number_.size()));
  if (overflowed_) return;
  if (text_.size() + text.size() > kTextLimit) {
    overflowed_ = true;
    std::string().swap(text_);
    return;
  }
  text_.append(text);
}

std::string BoundedRecord::Take() {
  open_ = false;
  inNumber_ = false;
  return std::exchange(text_, std::string());
}

std::string BoundedRecord::Name() const {
  std::string text = "#" + std::to_string(ordinal_);
  if (!number_.empty()) text += " (Number:" + number_ + ")";
  return text;
}

std::string BoundedRecord::Identification() const { return Name() + ", > " + std::to_string(kTextLimit) + " bytes"; }

}  // namespace quillane
