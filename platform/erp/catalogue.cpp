#include "platform/erp/catalogue.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/automation/errors.h"
#include "platform/automation/module.h"
#include "platform/automation/vbtext.h"

namespace quillane::erp {
namespace {

constexpr std::string_view kSourceLanguage = "chs";

AutomationError InvalidArgument(const std::string& source, const std::string& what) {
  return AutomationError(static_cast<std::int32_t>(VbError::InvalidProcedureCall), source, what);
}

PoMessages ReadCatalogue(const std::string& path, const std::string& source) {
  auto fault = [&](const std::string& what) {
    return AutomationError(kCatalogueFileError, source, "Message catalogue \"" + path + "\": " + what);
  };
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) throw fault("is missing or not a file");
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  if (!(in && text << in.rdbuf())) throw fault("cannot be read");
  try {
    return ParsePo(text.str());
  } catch (const PoSyntaxError& e) {
    throw fault("malformed at line " + std::to_string(e.line) + ": " + e.what());
  }
}

}  // namespace

std::string LanguageName(std::string_view language, const std::string& source) {
  for (std::string_view known : {kSourceLanguage, std::string_view("en"), std::string_view("cht")})
    if (SameText(language, known)) return std::string(known);
  throw InvalidArgument(source, "Unknown language \"" + std::string(language) + "\" (expected chs, en or cht)");
}

void CheckResourceSet(std::string_view baseName, const std::string& source) {
  if (!SameText(baseName, kResourceSet))
    throw InvalidArgument(source, "Unknown resource set \"" + std::string(baseName) + "\" (the catalogues carry " +
                                      std::string(kResourceSet) + ")");
}

std::string CataloguePath(std::string_view resDirectory, std::string_view language) {
  std::string folder = resDirectory.empty() ? DataFolder() + "/lang" : std::string(resDirectory);
  if (!folder.ends_with('/') && !folder.ends_with('\\')) folder += '/';
  return folder + std::string(language) + ".po";
}

const PoMessages* CatalogueCache::Get(std::string_view resDirectory, std::string_view language) {
  if (language == kSourceLanguage) return nullptr;
  std::string path = CataloguePath(resDirectory, language);
  if (!messages_ || path != path_) {
    messages_.reset();
    messages_ = ReadCatalogue(path, source_);
    path_ = std::move(path);
  }
  return &*messages_;
}

}  // namespace quillane::erp
