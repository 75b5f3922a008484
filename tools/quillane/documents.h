// The XML files the program reads itself: a page to import, and a bulk file it wrote, counted.
#pragma once

#include <cstdint>
#include <string>

namespace quillane::cli {

// Throws std::runtime_error naming path when it is a folder: a file to import must be a file, and
// the reader would only say it found no document.
void RefuseFolder(const std::string& path);

// The page in the file at path ("-": standard input) as UTF-8 text, read in the encoding the document
// declares or its byte-order mark shows. Throws std::runtime_error naming the file and the line when it is no
// well-formed XML document, and as RefuseFolder does.
std::string ReadPage(const std::string& path);

struct BulkFileScan {
  std::int32_t records = 0;  // whole records (children of Root) before the end or a fault
};

// Reads the bulk file through once, in flat memory. Throws when the file cannot be opened.
BulkFileScan ScanBulkFile(const std::string& path);

}  // namespace quillane::cli
