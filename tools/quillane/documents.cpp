#include "tools/quillane/documents.h"

#include <memory>
#include <stdexcept>

#include "exchange/mdlLanguage.h"
#include "platform/xml/DOMDocument.h"
#include "platform/xml/SAXXMLReader.h"
#include "tools/quillane/files.h"

namespace quillane::cli {
namespace {

// The records are the children of Root; in a file of custom item classes, the Item elements of each
// ItemClass.
class RecordCounter : public ISAXContentHandler, public ISAXErrorHandler {
 public:
  BulkFileScan scan;

  void startElement(const std::string&, const std::string& localName, const std::string&, const ISAXAttributes&) override {
    if (++depth_ == 2) inClass_ = localName == "ItemClass";
  }
  void endElement(const std::string&, const std::string& localName, const std::string&) override {
    const int depth = depth_--;
    if (inClass_ ? depth == 3 && localName == "Item" : depth == 2) ++scan.records;
  }
  // The parser's line means little in a file written on one line: the record at fault is named too.
  void fatalError(const ISAXLocator&, const std::string& message, std::int32_t) override {
    if (!scan.fault)
      scan.fault = message + " (" + mdlLanguage::LoadLangString("出错的记录：") + std::to_string(scan.records + 1) + ")";
  }

 private:
  int depth_ = 0;
  bool inClass_ = false;
};

}  // namespace

std::string ReadPage(const std::string& path) {
  DOMDocument document;
  if (!document.load(path == kStandardStream ? "/dev/stdin" : path)) {
    // The parser's reason names the line.
    throw std::runtime_error(path + ": " + document.parseError()->reason());
  }
  return document.xml();
}

BulkFileScan ScanBulkFile(const std::string& path) {
  auto counter = std::make_shared<RecordCounter>();
  SAXXMLReader reader;
  reader.putContentHandler(counter);
  reader.putErrorHandler(counter);
  reader.parseURL(path);
  return counter->scan;
}

}  // namespace quillane::cli
