// The texts the platform's components show a user, in the user's language: the simplified-Chinese
// source text is the key of its translation in the ERP's message catalogues, looked up through the
// ERP's language components by their ProgIDs.
#pragma once

#include <string>

namespace quillane {

// The translation of text in the ERP's current language; text itself in simplified Chinese, without a
// catalogue entry, or when the language components cannot be reached. Never raises.
std::string ComponentText(const std::string& text);

// How a message names a schema file: by its name, since its folder is the installation's, not the
// user's.
std::string SchemaName(const std::string& xsdPath);

}  // namespace quillane
