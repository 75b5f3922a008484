// The XML files the program reads itself: a page to import, and a bulk file looked over before the
// library imports it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quillane::cli {

// The page in the file at path ("-": standard input) as UTF-8 text, read in the encoding the document
// declares or its byte-order mark shows. Throws std::runtime_error naming the file and the line when it is no
// well-formed XML document.
std::string ReadPage(const std::string& path);

struct BulkFileScan {
  std::int32_t records = 0;  // whole records (children of Root) before the end or the fault
  // The parser's message (it names the line) where the file stops being well-formed XML, and the
  // number of the record at fault.
  std::optional<std::string> fault;
};

// Reads the bulk file through once, in flat memory. Throws when the file cannot be opened.
BulkFileScan ScanBulkFile(const std::string& path);

}  // namespace quillane::cli
