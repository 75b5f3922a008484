// The text of one record of a bulk file while a batch reader gathers it, held to a fixed bound. A file
// may make one record as large as it likes (a huge text, or an entity of its DTD used many times over),
// and the readers keep every record of a batch in memory until the batch goes out: a record that passes
// the bound is dropped as it is read, so that it fails alone and its neighbours still arrive, and
// memory stays flat whatever the file holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillane {

class BoundedRecord {
 public:
  // Far above any record the account set can hold (its widest columns take a few thousand characters).
  static constexpr std::size_t kTextLimit = std::size_t{1} << 20;
  // A batch goes out early once its records' text reaches this, however few they are.
  static constexpr std::size_t kBatchTextLimit = std::size_t{8} << 20;

  // A record starts at the element depth given (its own element's); its ordinal in the file counts on.
  void Begin(std::int32_t depth);
  bool Open() const { return open_; }
  // The depth of the element an append happens at: text of the record's Number child is noted, to name
  // the record should it fail.
  void StartElement(std::int32_t depth, std::string_view localName);
  void EndElement(std::int32_t depth);
  // Adds text of the record; once the record has passed the bound its text is dropped, and so is all
  // that follows until it ends.
  void Append(std::string_view text, bool isCharacters = false);
  bool Overflowed() const { return overflowed_; }
  // Ends the record and hands its text over (empty when it overflowed).
  std::string Take();

  // The place in the file of the record being read, or of the next one between records.
  std::int32_t Ordinal() const { return open_ ? ordinal_ : ordinal_ + 1; }
  // What names the record in a line about it: its place in the file and the number it carries, when
  // one was read.
  std::string Name() const;
  // What the refusal of an overflowed record says after its translated prefix: its name and the bound.
  std::string Identification() const;

 private:
  std::string text_;
  std::string number_;
  std::int32_t depth_ = 0;
  std::int32_t ordinal_ = 0;
  bool open_ = false;
  bool overflowed_ = false;
  bool inNumber_ = false;
};

}  // namespace quillane
