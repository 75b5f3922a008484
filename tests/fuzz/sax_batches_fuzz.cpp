// Fuzz target: the batch splitter that the SAX reader drives over a large bulk file.
//
// The input's last byte chooses the mode (bit 0 set: custom item classes, Root/ItemClass/Item) and the
// records per batch (1 to 8, from the next three bits); the bytes before it are the file. Whatever the
// file, the splitter raises nothing but the library's refusals. When the file is a well-formed bulk file
// (well-formed XML whose Root names its record element, and in custom mode holds only ItemClass
// elements), the reader reports no error, every batch is a well-formed document of at most that many
// records, and the records of all batches, in order, are the records of the file: the same elements,
// attributes and texts, but for the line breaks, NULs and tabs that the splitter cleans from texts.
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "exchange/clsSAXParse.h"
#include "fuzz_check.h"
#include "platform/automation/automation.h"
#include "platform/automation/vbtext.h"
#include "platform/xml/SAXXMLReader.h"
#include "support/environment.h"

namespace quillane::fuzz {
namespace {

struct DocFree {
  void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};
using Doc = std::unique_ptr<xmlDoc, DocFree>;

// Counts the errors libxml2 reports while it lives: the reader hands each to the splitter's error text.
class ErrorCount {
 public:
  ErrorCount() {
    xmlSetStructuredErrorFunc(&count_, [](void* count, xmlError* error) {
      if (error && error->level >= XML_ERR_ERROR) ++*static_cast<int*>(count);
    });
  }
  ~ErrorCount() { xmlSetStructuredErrorFunc(nullptr, nullptr); }
  int count() const { return count_; }

 private:
  int count_ = 0;
};

// The file read as the reader reads it (fed to the parser, so that a NUL byte is data and not the end,
// with no network and no entity from outside the file), into a tree; null when libxml2 reports an error.
Doc ParseFile(const std::string& file) {
  ErrorCount errors;
  const int head = static_cast<int>(std::min<std::size_t>(file.size(), 4));
  xmlParserCtxt* ctxt = xmlCreatePushParserCtxt(nullptr, nullptr, file.data(), head, "bulk.xml");
  if (!ctxt) return nullptr;
  xmlCtxtUseOptions(ctxt, XML_PARSE_NONET);
  xmlParseChunk(ctxt, file.data() + head, static_cast<int>(file.size()) - head, 1);
  Doc doc(ctxt->myDoc);
  const bool wellFormed = ctxt->wellFormed && errors.count() == 0;
  xmlFreeParserCtxt(ctxt);
  return wellFormed ? std::move(doc) : nullptr;
}

// A batch, which is UTF-8 text whatever its declaration says.
Doc ParseBatch(const std::string& batch) {
  ErrorCount errors;
  Doc doc(xmlReadMemory(batch.data(), static_cast<int>(batch.size()), "batch.xml", nullptr,
                        XML_PARSE_NONET | XML_PARSE_IGNORE_ENC));
  return errors.count() ? nullptr : std::move(doc);
}

std::string QName(const xmlNode* node) {
  std::string local = reinterpret_cast<const char*>(node->name);
  return node->ns && node->ns->prefix ? reinterpret_cast<const char*>(node->ns->prefix) + (":" + local) : local;
}

std::vector<const xmlNode*> ChildElements(const xmlNode* node) {
  std::vector<const xmlNode*> children;
  for (const xmlNode* c = node->children; c; c = c->next)
    if (c->type == XML_ELEMENT_NODE) children.push_back(c);
  return children;
}

// What the splitter does to a text: CR LF pairs and NULs go, tabs become blanks.
std::string Cleaned(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    else if (text[i] != '\0') out += text[i] == '\t' ? ' ' : text[i];
  }
  return out;
}

// Elements as the splitter must carry them: name, attributes in order, and content with each run of
// text (CDATA included; comments and processing instructions, which the splitter drops, do not end a
// run) cleaned when it comes from the file. The file's own entities stand for their content; an entity
// from outside the file, which the reader never loads, puts the file outside the oracle.
class Canonical {
 public:
  explicit Canonical(bool fromFile) : fromFile_(fromFile) {}
  bool usesOuterEntity = false;

  std::string Element(const xmlNode* element) {
    std::string out = "<" + QName(element);
    for (const xmlAttr* a = element->properties; a; a = a->next) {
      xmlChar* value = xmlNodeListGetString(element->doc, a->children, 1);
      out += " " + QName(reinterpret_cast<const xmlNode*>(a)) + "=\"" + Shown(value ? reinterpret_cast<char*>(value) : "") + "\"";
      xmlFree(value);
    }
    out += ">";
    std::string run;
    Content(element->children, out, run);
    EndRun(out, run);
    return out + "</" + QName(element) + ">";
  }

 private:
  void Content(const xmlNode* first, std::string& out, std::string& run) {
    for (const xmlNode* c = first; c; c = c->next) {
      if (c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) {
        run += reinterpret_cast<const char*>(c->content);
      } else if (c->type == XML_ELEMENT_NODE) {
        EndRun(out, run);
        out += Element(c);
      } else if (c->type == XML_ENTITY_REF_NODE) {
        const xmlEntity* entity = xmlGetDocEntity(c->doc, c->name);
        if (!entity || entity->etype != XML_INTERNAL_GENERAL_ENTITY) usesOuterEntity = true;
        else Content(entity->children, out, run);
      }
    }
  }

  void EndRun(std::string& out, std::string& run) const {
    std::string text = fromFile_ ? Cleaned(run) : run;
    if (!text.empty()) out += "[" + Shown(text) + "]";
    run.clear();
  }

  bool fromFile_;
};

// The records under a document's Root: its children named as records, or in custom mode the Items of
// its classes.
std::vector<std::string> Records(const xmlNode* root, const std::string& recordName, bool custom, Canonical& canonical) {
  std::vector<std::string> records;
  for (const xmlNode* child : ChildElements(root)) {
    if (!custom) {
      if (recordName == reinterpret_cast<const char*>(child->name)) records.push_back(canonical.Element(child));
      continue;
    }
    for (const xmlNode* item : ChildElements(child))
      if (std::string("Item") == reinterpret_cast<const char*>(item->name)) records.push_back(canonical.Element(item));
  }
  return records;
}

// The record element a well-formed bulk file names; empty when the file is none.
std::string RecordNameOf(const xmlDoc* doc, bool custom) {
  const xmlNode* root = doc ? xmlDocGetRootElement(doc) : nullptr;
  if (!root || std::string("Root") != reinterpret_cast<const char*>(root->name)) return {};
  if (custom)
    for (const xmlNode* child : ChildElements(root))
      if (std::string("ItemClass") != reinterpret_cast<const char*>(child->name)) return {};
  for (const xmlAttr* a = root->properties; a; a = a->next) {
    if (a->ns || !SameText(reinterpret_cast<const char*>(a->name), "VelmoraNameSpace")) continue;
    xmlChar* value = xmlNodeListGetString(root->doc, a->children, 1);
    std::string name = value ? reinterpret_cast<char*>(value) : "";
    xmlFree(value);
    return name;
  }
  return {};
}

void Check(const std::string& file, bool custom, std::int32_t perCount) {
  static const testing::TempDir folder;
  auto splitter = std::make_shared<clsSAXParse>();
  splitter->bCustom = custom;
  splitter->setPerCount(perCount);
  std::vector<std::string> batches;
  splitter->Advise([&](std::string_view event, DispId, Arguments args) {
    if (event == "HandleXML") batches.push_back(CStr(args[0]));
  });

  bool refused = false;
  try {
    SAXXMLReader reader;
    reader.putContentHandler(splitter);
    reader.putErrorHandler(splitter);
    reader.parseURL(folder.write("bulk.xml", file));
  } catch (const AutomationError& e) {
    Require(e.number == kLibraryRefusal, "the splitter raised " + std::to_string(e.number) + " " + Shown(e.description) +
                                             " for " + Shown(file));
    refused = true;
  }

  Doc original = ParseFile(file);
  const std::string recordName = RecordNameOf(original.get(), custom);
  if (recordName.empty()) return;
  Canonical canonical(true);
  std::vector<std::string> expected = Records(xmlDocGetRootElement(original.get()), recordName, custom, canonical);
  if (canonical.usesOuterEntity) return;
  Require(!refused && splitter->strError.empty(),
          "a well-formed bulk file " + Shown(file) + " was refused: " + Shown(splitter->strError));

  std::vector<std::string> carried;
  for (const std::string& batch : batches) {
    Doc doc = ParseBatch(batch);
    Require(doc && xmlDocGetRootElement(doc.get()),
            "a batch of " + Shown(file) + " is not well-formed: " + Shown(batch));
    Canonical canonical(false);
    std::vector<std::string> records = Records(xmlDocGetRootElement(doc.get()), recordName, custom, canonical);
    Require(records.size() <= static_cast<std::size_t>(perCount),
            "a batch of " + Shown(file) + " holds more than " + std::to_string(perCount) + " records: " + Shown(batch));
    carried.insert(carried.end(), records.begin(), records.end());
  }
  if (carried == expected) return;
  std::string detail = "the file's records:";
  for (const std::string& r : expected) detail += "\n  " + r;
  detail += "\nthe batches' records:";
  for (const std::string& r : carried) detail += "\n  " + r;
  Fail("the batches of " + Shown(file) + " do not carry its records\n" + detail);
}

}  // namespace
}  // namespace quillane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t options = data[size - 1];
  quillane::fuzz::Check(std::string(reinterpret_cast<const char*>(data), size - 1), (options & 1) != 0,
                        1 + ((options >> 1) & 7));
  return 0;
}
