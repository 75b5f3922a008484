// Fuzz target: the XML component's reader of record documents against the shipped XSD files.
//
// The input is a document; the schema is the one its Root names in VelmoraNameSpace (an input naming no
// shipped schema is passed over). When the reader accepts the document, the records it read hold the
// document's elements, each one and in their order, with their values (a text as it stands, a number,
// Boolean or date as its text reads); the writer writes the records back into a document, the reader
// accepts that one too, and writing what it read gives the same text again: nothing the reader takes in
// is lost or changed on the way in or out.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "fuzz_check.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"
#include "platform/xml/TrzRecord.h"
#include "platform/xml/TrzRecords.h"
#include "platform/xml/TrzReader.h"
#include "platform/xml/TrzWriter.h"

namespace quillane::fuzz {
namespace {

const std::filesystem::path kSchemaFolder = std::filesystem::path(QUILLANE_SOURCE_DATA_DIR) / "schema";

// The type names that have a schema file of their own.
const std::set<std::string>& TypeNames() {
  static const std::set<std::string> names = [] {
    std::set<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(kSchemaFolder))
      if (entry.path().extension() == ".xsd") found.insert(entry.path().stem().string());
    return found;
  }();
  return names;
}

// The value of the first VelmoraNameSpace attribute, read from the text without parsing it.
std::string NamedType(const std::string& xml) {
  std::size_t at = xml.find("VelmoraNameSpace");
  if (at == std::string::npos) return {};
  at = xml.find_first_not_of(" \t\r\n", at + 16);
  if (at == std::string::npos || xml[at] != '=') return {};
  at = xml.find_first_not_of(" \t\r\n", at + 1);
  if (at == std::string::npos || (xml[at] != '"' && xml[at] != '\'')) return {};
  std::size_t end = xml.find(xml[at], at + 1);
  return end == std::string::npos ? std::string() : xml.substr(at + 1, end - at - 1);
}

std::string Written(const std::shared_ptr<TrzRecords>& records, const std::string& xsd, const std::string& type,
                    const std::string& source) {
  std::string xml, error;
  if (!TrzWriter().OutputXMLString(records, xml, xsd, type, error))
    Fail("the records read from " + Shown(source) + " cannot be written back: " + Shown(error));
  return xml;
}

std::shared_ptr<TrzRecords> ReadBack(const std::string& xml, const std::string& xsd, const std::string& type) {
  std::shared_ptr<TrzRecords> records;
  std::string error;
  if (!TrzReader().InputXMLString(records, xml, xsd, type, error))
    Fail("the document written is refused: " + Shown(error) + " in " + Shown(xml));
  return records;
}

// ---- The oracle: the records read against the document's own elements ----

std::vector<const xmlNode*> ChildElements(const xmlNode* node) {
  std::vector<const xmlNode*> children;
  for (const xmlNode* c = node->children; c; c = c->next)
    if (c->type == XML_ELEMENT_NODE) children.push_back(c);
  return children;
}

std::string NameOf(const xmlNode* node) { return reinterpret_cast<const char*>(node->name); }

std::string TextOf(const xmlNode* node) {
  xmlChar* content = xmlNodeGetContent(node);
  std::string text = content ? reinterpret_cast<const char*>(content) : "";
  xmlFree(content);
  return text;
}

std::string Collapsed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// Whether a value read stands for the element's text: a text as it is, a number of the same value, a
// Boolean of the same truth. A date is read by the platform's own parser; its text is not compared.
bool SameValue(const Variant& value, const std::string& text) {
  if (const std::string* s = value.tryAs<std::string>()) return *s == text;
  if (const bool* b = value.tryAs<bool>()) return *b == (Collapsed(text) == "true" || Collapsed(text) == "1");
  if (value.tryAs<Date>()) return true;
  std::string number = Collapsed(text);
  if (!number.empty() && number.front() == '+') number.erase(0, 1);
  char* end = nullptr;
  const double expected = std::strtod(number.c_str(), &end), got = CDbl(value);
  if (number.empty() || *end != '\0') return false;
  return got == expected || (std::isnan(got) && std::isnan(expected));
}

template <class T>
std::shared_ptr<T> NestedAs(const Variant& value) {
  return value.isObject() ? std::dynamic_pointer_cast<T>(value.object()) : nullptr;
}

void RequireHolds(const TrzRecord& record, const xmlNode* element, const std::string& document);

void RequireEntry(const Variant& value, const xmlNode* element, const std::string& document) {
  if (auto nested = NestedAs<TrzRecord>(value)) return RequireHolds(*nested, element, document);
  Require(ChildElements(element).empty() && SameValue(value, TextOf(element)),
          "the element " + NameOf(element) + " of " + Shown(document) + " was read as " + Shown(CStr(value)));
}

// The record holds the element's children and nothing else: one key per child name (a vector: the
// children of that name, in their order), each with the child's value. Keys are matched by name, as a
// schema may let the children come in any order.
void RequireHolds(const TrzRecord& record, const xmlNode* element, const std::string& document) {
  const std::vector<const xmlNode*> children = ChildElements(element);
  std::vector<bool> taken(children.size(), false);
  auto take = [&](const std::string& key) -> const xmlNode* {
    for (std::size_t i = 0; i < children.size(); ++i)
      if (!taken[i] && SameText(NameOf(children[i]), key)) {
        taken[i] = true;
        return children[i];
      }
    Fail("the key " + key + " read from " + Shown(document) + " stands for no element of the document");
    return nullptr;
  };
  for (const auto& [key, value] : record.Entries()) {
    if (auto vector = NestedAs<TrzRecords>(value)) {
      for (const Variant& entry : *vector) RequireEntry(entry, take(key), document);
    } else {
      RequireEntry(value, take(key), document);
    }
  }
  for (std::size_t i = 0; i < children.size(); ++i)
    Require(taken[i], "the element " + NameOf(children[i]) + " of " + Shown(document) + " was lost on reading");
}

void RequireRecordsHoldTheDocument(const TrzRecords& records, const std::string& document) {
  std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc(
      // The reader takes the document as text already decoded, whatever encoding its declaration names,
      // so the oracle reads it the same way.
      xmlReadMemory(document.data(), static_cast<int>(document.size()), nullptr, "UTF-8",
                    XML_PARSE_NONET | XML_PARSE_IGNORE_ENC),
      xmlFreeDoc);
  Require(doc != nullptr, "libxml2 does not parse the document the reader accepted: " + Shown(document));
  const std::vector<const xmlNode*> elements = ChildElements(xmlDocGetRootElement(doc.get()));
  Require(elements.size() == static_cast<std::size_t>(records.Count()),
          "the reader read " + std::to_string(records.Count()) + " records of the " + std::to_string(elements.size()) +
              " in " + Shown(document));
  std::size_t i = 0;
  for (const Variant& entry : records) {
    auto record = NestedAs<TrzRecord>(entry);
    Require(record != nullptr, "a record read from " + Shown(document) + " is no record");
    RequireHolds(*record, elements[i++], document);
  }
}

void Check(const std::string& document) {
  std::string type = NamedType(document);
  if (!TypeNames().count(type)) return;
  std::string xsd = (kSchemaFolder / (type + ".xsd")).string();

  std::shared_ptr<TrzRecords> records;
  std::string error;
  if (!TrzReader().InputXMLString(records, document, xsd, type, error)) return;
  RequireRecordsHoldTheDocument(*records, document);
  std::string first = Written(records, xsd, type, document);
  std::string second = Written(ReadBack(first, xsd, type), xsd, type, first);
  Require(first == second, "written twice the records of " + Shown(document) + " give " + Shown(first) + " and then " +
                               Shown(second));
}

}  // namespace
}  // namespace quillane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quillane::fuzz::Check(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
