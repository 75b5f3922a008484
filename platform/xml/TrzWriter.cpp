#include "platform/xml/TrzWriter.h"

#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "platform/automation/factory.h"
#include "platform/xml/component_text.h"
#include "platform/xml/TrzRecord.h"
#include "platform/xml/libxml_support.h"
#include "platform/xml/object_support.h"
#include "platform/xml/record_schema.h"
#include "platform/xml/record_values.h"
#include "platform/xml/schema_check.h"

namespace quillane {
namespace {

using xml_detail::ElementShape;
using xml_detail::XmlChars;

// Deeper nesting than any record format has: a record that contains itself.
constexpr std::size_t kMaxDepth = 64;

// Data that no document can carry; the message says where it is ("record 2, key Parent/Number").
struct Unwritable : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string codePoint(char32_t c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(c));
  return buf;
}

// Where the builder puts the document: elements of a DOM tree, or markup text.
class DomOut {
 public:
  explicit DomOut(xmlNode* root) : open_{root} {}
  void start(const std::string& name) { open_.push_back(newElement(open_.back(), name, nullptr)); }
  void leaf(const std::string& name, const std::string& text) { newElement(open_.back(), name, text.empty() ? nullptr : &text); }
  void end() { open_.pop_back(); }

 private:
  static xmlNode* newElement(xmlNode* parent, const std::string& name, const std::string* text) {
    xmlNode* node = xmlNewTextChild(parent, nullptr, XmlChars(name), text ? XmlChars(*text) : nullptr);
    if (!node) throw std::bad_alloc();
    return node;
  }
  std::vector<xmlNode*> open_;
};

// The markup exactly as libxml2 serialises the DOM of the same data (UTF-8 text, "<", ">", "&" and CR
// escaped, an element without content as "<Name/>"), without building the DOM; each element is shown to
// the schema's check, when there is one, as it is written.
class TextOut {
 public:
  TextOut(std::string& out, xml_detail::DocumentCheck* check) : out_(out), check_(check) {}
  // An attribute's value is written as it is: the one the document has is a checked XML name.
  void start(const std::string& name, std::string_view attribute = {}, std::string_view value = {}) {
    if (check_) check_->Start(name, attribute);
    closeStartTag();
    out_ += '<';
    out_ += name;
    if (!attribute.empty()) {
      out_ += ' ';
      out_ += attribute;
      out_ += "=\"";
      out_ += value;
      out_ += '"';
    }
    open_.push_back(name);
    startTagOpen_ = true;
  }
  void leaf(const std::string& name, const std::string& text) {
    if (check_) check_->Leaf(name, text);
    closeStartTag();
    out_ += '<';
    out_ += name;
    if (text.empty()) {
      out_ += "/>";
      return;
    }
    out_ += '>';
    escaped(text);
    out_ += "</";
    out_ += name;
    out_ += '>';
  }
  void end() {
    if (check_) check_->End();
    if (startTagOpen_) {
      out_ += "/>";
      startTagOpen_ = false;
    } else {
      out_ += "</";
      out_ += open_.back();
      out_ += '>';
    }
    open_.pop_back();
  }

 private:
  void closeStartTag() {
    if (startTagOpen_) out_ += '>';
    startTagOpen_ = false;
  }
  // The runs between the characters that need escaping are appended whole.
  void escaped(std::string_view text) {
    while (!text.empty()) {
      std::size_t k = 0;
      while (k < text.size() && text[k] != '<' && text[k] != '>' && text[k] != '&' && text[k] != '\r') ++k;
      out_.append(text.substr(0, k));
      if (k == text.size()) return;
      switch (text[k]) {
        case '<': out_ += "&lt;"; break;
        case '>': out_ += "&gt;"; break;
        case '&': out_ += "&amp;"; break;
        default: out_ += "&#13;";
      }
      text.remove_prefix(k + 1);
    }
  }
  std::string& out_;
  xml_detail::DocumentCheck* check_;
  std::vector<std::string> open_;
  bool startTagOpen_ = false;
};

// Whether a key can be an element's name. Asked of every key of every record: the names of ASCII
// letters, digits, "_", "-" and "." that the records carry are told apart here; libxml2 judges the rest.
bool isElementName(const std::string& key) {
  auto plain = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
  bool ascii = !key.empty() && plain(key[0]);
  for (std::size_t k = 1; ascii && k < key.size(); ++k)
    ascii = plain(key[k]) || (key[k] >= '0' && key[k] <= '9') || key[k] == '-' || key[k] == '.';
  return ascii || xmlValidateNCName(XmlChars(key), 0) == 0;
}

// Walks the records, checking what no document can carry, and writes their elements to Out. Where an
// entry lies ("record 2, key Parent/Number") is put into words only for a message.
template <class Out>
class DocumentBuilder {
 public:
  explicit DocumentBuilder(Out& out) : out_(out) {}

  void writeRecordEntry(int position, const std::string& name, const Variant& value, const ElementShape* shape) {
    position_ = position;
    writeEntry(name, value, shape);
  }

 private:
  void writeEntry(const std::string& name, const Variant& value, const ElementShape* shape) {
    if (value.isNull()) return;
    if (const ObjectRef* object = value.tryAs<ObjectRef>()) {
      if (!*object) return;
      auto record = xml_detail::ObjectOf<TrzRecord>(&value);
      if (!record) {
        throw Unwritable(where() + " holds " + (xml_detail::ObjectOf<TrzRecords>(&value)
                                                    ? std::string("a vector inside a vector")
                                                    : "an object of class " + (*object)->className()) +
                         ", which has no XML form.");
      }
      if (keys_.size() >= kMaxDepth) throw Unwritable(where() + " nests records more than 64 levels deep.");
      out_.start(name);
      writeRecord(*record, shape);
      out_.end();
      return;
    }
    std::string text = xml_detail::TextOfValue(value, shape ? shape->valueKind : xml_detail::ValueKind::Text);
    if (char32_t bad = xml_detail::FirstNonXmlChar(text)) {
      throw Unwritable(where() + (bad == xml_detail::kNotUtf8 ? std::string(" is no valid UTF-8 text.")
                                                              : " holds the character " + codePoint(bad) +
                                                                    ", which XML cannot carry."));
    }
    out_.leaf(name, text);
  }

  void writeRecord(const TrzRecord& record, const ElementShape* shape) {
    for (const auto& [key, value] : record.Entries()) {
      keys_.push_back(&key);
      if (!isElementName(key)) throw Unwritable(where() + ": the key is no valid XML element name.");
      const ElementShape* childShape = shape ? shape->Child(key) : nullptr;
      if (auto vector = xml_detail::ObjectOf<TrzRecords>(&value)) {
        for (const Variant& entry : *vector) writeEntry(key, entry, childShape);
      } else {
        writeEntry(key, value, childShape);
      }
      keys_.pop_back();
    }
  }

  std::string where() const {
    std::string text = "record " + std::to_string(position_);
    for (std::size_t k = 0; k < keys_.size(); ++k) text += (k == 0 ? ", key " : "/") + *keys_[k];
    return text;
  }

  Out& out_;
  int position_ = 0;
  std::vector<const std::string*> keys_;  // the keys from the record down to the entry being written
};

// Every record of the vector written to out, or the reason why the data has no XML form.
template <class Out>
std::string writeRecords(Out& out, const TrzRecords& vect, const ElementShape* recordShape, const std::string& strTypeName) {
  DocumentBuilder<Out> builder(out);
  int position = 0;
  try {
    for (const Variant& entry : vect) builder.writeRecordEntry(++position, strTypeName, entry, recordShape);
  } catch (const Unwritable& e) {
    return std::string("The data cannot be written as XML: ") + e.what();
  }
  return {};
}

void setNamespace(xmlNode* element, xmlNs* ns) {
  element->ns = ns;
  for (xmlNode* c = element->children; c; c = c->next)
    if (c->type == XML_ELEMENT_NODE) setNamespace(c, ns);
}

// The document built as a DOM: validated there, so that a refusal names the element it is about, and
// given the item-class namespace, which the schemas do not declare.
std::string domDocument(const TrzRecords& vect, std::string& strXML, xml_detail::RecordSchema& schema,
                        const std::string& strXSD, const ElementShape* recordShape, const std::string& strTypeName) {
  xml_detail::DocPtr doc(xmlNewDoc(XmlChars("1.0")));
  xmlNode* root = xmlNewDocNode(doc.get(), nullptr, XmlChars("Root"), nullptr);
  if (!doc || !root) throw std::bad_alloc();
  xmlDocSetRootElement(doc.get(), root);
  xmlNewProp(root, XmlChars("VelmoraNameSpace"), XmlChars(strTypeName));
  DomOut out(root);
  std::string error = writeRecords(out, vect, recordShape, strTypeName);
  if (!error.empty()) return error;
  if (!schema.Validate(doc.get(), error))
    return ComponentText("数据不符合架构") + " " + SchemaName(strXSD) + ": " + error;

  if (strTypeName == "ItemClass") {
    std::string href(kItemClassNamespace);
    for (xmlNode* c = root->children; c; c = c->next) setNamespace(c, xmlNewNs(c, XmlChars(href), nullptr));
  }
  // Declared so that the serialiser writes the text as UTF-8 rather than as character references.
  doc->encoding = xmlStrdup(XmlChars("UTF-8"));
  strXML = "<?xml version=\"1.0\"?>" + xml_detail::SerializeNode(root);
  return {};
}

// The document of the vector, or the reason why there is none. The markup is written straight out and
// checked as it is written by the compiled schema; a document the check does not accept (or whose
// schema does not compile) is validated by libxml2 as a stream, and only one the schema refuses is built
// again as a DOM, for its message.
std::string writeDocument(const std::shared_ptr<TrzRecords>& vect, std::string& strXML, const std::string& strXSD,
                          const std::string& strTypeName) {
  if (!vect) return "There is no data vector to write.";
  std::string error;
  auto schema = xml_detail::RecordSchema::Load(strXSD, error);
  if (!schema) return error;
  const ElementShape* recordShape = schema->RecordElement(strTypeName);
  if (!recordShape) return "The schema file " + strXSD + " declares no element " + strTypeName + ".";
  if (xmlValidateNCName(XmlChars(strTypeName), 0) != 0)
    return "The type name \"" + strTypeName + "\" is no valid XML element name.";
  xml_detail::InitLibxml();
  if (strTypeName == "ItemClass") return domDocument(*vect, strXML, *schema, strXSD, recordShape, strTypeName);

  std::optional<xml_detail::DocumentCheck> check;
  if (const xml_detail::SchemaCheck* compiled = schema->Check()) check.emplace(*compiled);
  // Pages of one type come in runs of much the same size: room for the last one's text at once
  // spares growing the text again and again while it is written.
  thread_local std::size_t lastLength = 0;
  std::string text;
  text.reserve(lastLength + lastLength / 8);
  text = "<?xml version=\"1.0\"?>";
  TextOut out(text, check ? &*check : nullptr);
  out.start("Root", "VelmoraNameSpace", strTypeName);
  error = writeRecords(out, *vect, recordShape, strTypeName);
  if (!error.empty()) return error;
  out.end();
  if (!(check && check->Accepted()) && !schema->ValidateText(text))
    return domDocument(*vect, strXML, *schema, strXSD, recordShape, strTypeName);
  lastLength = text.size();
  strXML = std::move(text);
  return {};
}

}  // namespace

bool TrzWriter::OutputXMLString(const std::shared_ptr<TrzRecords>& vect, std::string& strXML,
                                const std::string& strXSD, const std::string& strTypeName, std::string& strError) {
  strXML.clear();
  try {
    strError = writeDocument(vect, strXML, strXSD, strTypeName);
  } catch (const std::exception& e) {
    strError = std::string("The data cannot be written as XML: ") + e.what();
  }
  if (!strError.empty()) strXML.clear();
  return strError.empty();
}

const DispatchTable& TrzWriter::dispatchTable() const {
  static const DispatchTable table =
      DispatchBuilder<TrzWriter>().method("OutputXMLString", 1, &TrzWriter::OutputXMLString).build();
  return table;
}

QUILLANE_REGISTER_CLASS("XMLTRZ2.Write", TrzWriter)

}  // namespace quillane
