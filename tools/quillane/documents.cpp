#include "tools/quillane/documents.h"

#include <filesystem>
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
  // A fault ends the count where it stands.
  void fatalError(const ISAXLocator&, const std::string&, std::int32_t) override {}

 private:
  int depth_ = 0;
  bool inClass_ = false;
};

}  // namespace

void RefuseFolder(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec))
    throw std::runtime_error(mdlLanguage::LoadLangString("这是文件夹，不是文件：") + path);
}

std::string ReadPage(const std::string& path) {
  RefuseFolder(path);
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
