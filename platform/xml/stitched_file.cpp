#include "platform/xml/stitched_file.h"

#include <string_view>

#include "platform/automation/vbtext.h"
#include "platform/xml/DOMDocument.h"
#include "platform/xml/DOMNode.h"

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

StitchedFile::StitchedFile(std::string path, Refusal refusal) : refusal_(std::move(refusal)) {
  file_.emplace(std::move(path), OutputFile::Encoding::Utf16Le);
}

StitchedFile::~StitchedFile() = default;

void StitchedFile::AddPage(const std::string& page, const std::function<void()>& onRecord) {
  if (!file_) throw refusal_(Left(page, 200));
  if (!started_) {
    // The first page's Root stays open for the records of the later pages.
    std::string head;
    if (page.ends_with(kRootEnd)) head = page.substr(0, page.size() - kRootEnd.size());
    else if (endsWithEmptyRoot(page)) head = page.substr(0, page.size() - 2) + ">";
    else throw refusal_(Left(page, 200));
    file_->Write(head);
    started_ = true;
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
  if (!file_ || !started_) {
    Abandon();
    return false;
  }
  file_->Write(kRootEnd);
  file_->Keep();
  file_.reset();
  return true;
}

void StitchedFile::Abandon() noexcept { file_.reset(); }

}  // namespace quillane
