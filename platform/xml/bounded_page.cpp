#include "platform/xml/bounded_page.h"

#include <memory>
#include <utility>

#include "platform/automation/vbtext.h"
#include "platform/xml/SAXXMLReader.h"
#include "platform/xml/bounded_record.h"
#include "platform/xml/xml_markup.h"

namespace quillane {
namespace {

constexpr const char* kRecordNameAttribute = "VelmoraNameSpace";
constexpr const char* kClassRecord = "ItemClass";
constexpr std::int32_t kRecordDepth = 2;
constexpr std::int32_t kItemDepth = 3;

// One reading of the page. Without write it only tells whether a record passes the bound; with it, it
// writes the page again without the records that do.
class PageReader : public ISAXContentHandler, public ISAXErrorHandler {
 public:
  explicit PageReader(bool write) : write_(write) {}

  std::vector<std::string> refused;
  std::string text;

  void startPrefixMapping(const std::string& prefix, const std::string& uri) override {
    declarations_ += NamespaceDeclaration(prefix, uri);
  }
  void startElement(const std::string&, const std::string& localName, const std::string& qName,
                    const ISAXAttributes& attributes) override {
    const std::string tag = StartTag(qName, std::exchange(declarations_, std::string()), attributes);
    ++depth_;
    if (depth_ == 1) {
      for (std::int32_t i = 0; i < attributes.getLength(); ++i)
        if (SameText(attributes.getQName(i), kRecordNameAttribute)) classes_ = attributes.getValue(i) == kClassRecord;
      if (write_) text += tag;
      return;
    }
    if (depth_ == kRecordDepth) {
      record_.Begin(depth_);
      items_.clear();
    } else if (classes_ && depth_ == kItemDepth && localName == "Item") {
      item_.Begin(depth_);
    }
    current().StartElement(depth_, localName);
    current().Append(tag);
  }
  void characters(const std::string& chars) override {
    // Text between records is only the page's layout.
    if (depth_ >= kRecordDepth) current().Append(EscapeXml(chars, false), true);
  }
  void ignorableWhitespace(const std::string& chars) override { characters(chars); }
  void endElement(const std::string&, const std::string&, const std::string& qName) override {
    const std::int32_t depth = depth_--;
    if (depth == 1) {
      if (write_) text += "</" + qName + ">";
      return;
    }
    BoundedRecord& owner = current(depth);
    owner.EndElement(depth);
    owner.Append("</" + qName + ">");
    if (&owner == &item_ && depth == kItemDepth) return endItem();
    if (depth == kRecordDepth) endRecord();
  }
  // A page that is no document is its reader's to refuse.
  void fatalError(const ISAXLocator&, const std::string&, std::int32_t) override { refused.clear(); }

 private:
  // The record an event belongs to: the open item, from inside it too, else the record under Root.
  BoundedRecord& current(std::int32_t depth = 0) {
    return item_.Open() && (depth == 0 || depth >= kItemDepth) ? item_ : record_;
  }

  void endItem() {
    const bool overflowed = item_.Overflowed();
    std::string item = item_.Take();
    if (overflowed) return refuse(item_.Identification());
    if (write_) items_ += item;
  }
  void endRecord() {
    const bool overflowed = record_.Overflowed();
    std::string record = record_.Take();
    if (overflowed) return refuse(record_.Identification());
    if (!write_) return;
    // A class's items are the last of its content: they stand before its closing tag.
    if (!items_.empty()) record.insert(record.rfind("</"), items_);
    text += record;
  }
  void refuse(std::string identification) {
    refused.push_back(std::move(identification));
    // Telling is all a first reading is for.
    if (!write_) throw Found();
  }

 public:
  struct Found {};

 private:
  bool write_;
  bool classes_ = false;
  std::int32_t depth_ = 0;
  std::string declarations_;
  BoundedRecord record_;
  BoundedRecord item_;
  std::string items_;
};

// True when a record passes the bound; reader.refused names them.
bool Read(std::string_view page, const std::shared_ptr<PageReader>& reader) {
  SAXXMLReader sax;
  sax.putContentHandler(reader);
  sax.putErrorHandler(reader);
  try {
    sax.parseText(page);
  } catch (const PageReader::Found&) {
  }
  return !reader->refused.empty();
}

}  // namespace

BoundedPage BoundPage(std::string_view page) {
  // A page within the bound holds no record past it, unless the entities it declares make its text longer.
  const bool mayGrow = page.find("<!ENTITY") != std::string_view::npos;
  if ((page.size() <= BoundedRecord::kTextLimit && !mayGrow) || !Read(page, std::make_shared<PageReader>(false)))
    return {};
  auto writer = std::make_shared<PageReader>(true);
  if (!Read(page, writer)) return {};
  return BoundedPage{std::move(writer->refused), std::move(writer->text)};
}

}  // namespace quillane
