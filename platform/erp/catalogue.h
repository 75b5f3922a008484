// The message catalogues of the language components: one PO file per language, lang/en.po and
// lang/cht.po, whose msgids are the simplified-Chinese source texts. Simplified Chinese ("chs") is the
// source language and has no catalogue.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/erp/po_reader.h"

namespace quillane::erp {

// A catalogue that cannot be read or parsed raises this number (VB's "Path/File access error"), with
// the component's name as the source and the file's path in the description.
inline constexpr std::int32_t kCatalogueFileError = 75;

// The resource set the catalogues carry; the components refuse any other.
inline constexpr std::string_view kResourceSet = "Q7Base";

// "chs", "en" or "cht" for a language name in any letter case; raises error 5 for any other name.
std::string LanguageName(std::string_view language, const std::string& source);
// Raises error 5 unless baseName names the resource set the catalogues carry (in any letter case).
void CheckResourceSet(std::string_view baseName, const std::string& source);

// The catalogue file of a language: in resDirectory when it is not empty, else in DataFolder()/lang.
std::string CataloguePath(std::string_view resDirectory, std::string_view language);

// Keeps the catalogue a component read last, so that a run of lookups reads the file once; it reads
// again when it is asked for another file. A failed read is not kept: the next lookup tries again.
class CatalogueCache {
 public:
  explicit CatalogueCache(std::string source) : source_(std::move(source)) {}

  // The messages of the language in the folder; nullptr for "chs". Raises kCatalogueFileError, naming
  // the file, when it is missing, unreadable or malformed.
  const PoMessages* Get(std::string_view resDirectory, std::string_view language);

 private:
  std::string source_;
  std::string path_;
  std::optional<PoMessages> messages_;
};

}  // namespace quillane::erp
