#include "platform/xml/stitched_file.h"

#include <string_view>

#include "platform/automation/vbtext.h"
#include "platform/xml/DOMDocument.h"
#include "platform/xml/DOMNode.h"
#include "platform/xml/FileSystemObject.h"
#include "platform/xml/TextStream.h"

namespace quillane {
namespace {

constexpr std::string_view kRootEnd = "</Root>";

// A Root without records, written in one empty-element tag at the end of the page.
bool endsWithEmptyRoot(const std::string& page) {
  const std::size_t lastTag = page.rfind('<');
  return page.ends_with("/>") && lastTag != std::string::npos && page.compare(lastTag, 5, "<Root") == 0 &&
         lastTag + 5 < page.size() && (page[lastTag + 5] == ' ' || page[lastTag + 5] == '/') &&
         page.find('>', lastTag) == page.size() - 1;
}

}  // namespace

StitchedFile::StitchedFile(std::string path, Refusal refusal) : path_(std::move(path)), refusal_(std::move(refusal)) {
  FileSystemObject files;
  if (files.FileExists(path_)) files.DeleteFile(path_, true);
}

StitchedFile::~StitchedFile() {
  if (!finished_) Abandon();
}

void StitchedFile::AddPage(const std::string& page, const std::function<void()>& onRecord) {
  if (!file_) {
    // The first page's Root stays open for the records of the later pages.
    std::string head;
    if (page.ends_with(kRootEnd)) head = page.substr(0, page.size() - kRootEnd.size());
    else if (endsWithEmptyRoot(page)) head = page.substr(0, page.size() - 2) + ">";
    else throw refusal_(Left(page, 200));
    file_ = FileSystemObject().CreateTextFile(path_, true, true);
    file_->Write(head);
    return;
  }
  DOMDocument document;
  if (!document.loadXML(page)) throw refusal_(document.parseError()->reason());
  auto records = document.documentElement()->childNodes();
  for (std::int32_t i = 0; i < records->length(); ++i) {
    file_->Write(records->item(i)->xml());
    if (onRecord) onRecord();
  }
}

bool StitchedFile::Finish() {
  finished_ = true;
  if (!file_) return false;
  file_->Write(std::string(kRootEnd));
  file_->Close();
  return true;
}

void StitchedFile::Abandon() noexcept {
  finished_ = true;
  if (!file_) return;
  try {
    file_->Close();
    FileSystemObject().DeleteFile(path_, true);
  } catch (const AutomationError&) {
    // Cleaning up after a failure must not hide the failure.
  }
  file_.reset();
}

}  // namespace quillane
