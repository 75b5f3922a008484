#include "platform/xml/TrzReader.h"

#include "platform/automation/factory.h"
#include "platform/xml/component_text.h"
#include "platform/xml/TrzRecord.h"
#include "platform/xml/libxml_support.h"
#include "platform/xml/record_schema.h"
#include "platform/xml/record_stream.h"
#include "platform/xml/record_values.h"

namespace quillane {
namespace {

using xml_detail::Chars;
using xml_detail::ElementShape;

void dropNamespaces(xmlNode* node) {
  for (xmlNode* n = node; n; n = n->next) {
    if (n->type != XML_ELEMENT_NODE) continue;
    n->ns = nullptr;
    dropNamespaces(n->children);
  }
}

bool hasChildElements(const xmlNode* node) {
  for (const xmlNode* c = node->children; c; c = c->next)
    if (c->type == XML_ELEMENT_NODE) return true;
  return false;
}

Variant readElement(const xmlNode* element, const ElementShape* shape);

Variant readRecord(const xmlNode* element, const ElementShape* shape) {
  auto record = std::make_shared<TrzRecord>();
  for (const xmlNode* c = element->children; c; c = c->next) {
    if (c->type != XML_ELEMENT_NODE) continue;
    std::string key = Chars(c->name);
    const ElementShape* childShape = shape ? shape->Child(key) : nullptr;
    xml_detail::AddChild(*record, key, readElement(c, childShape), childShape);
  }
  return Variant(record);
}

Variant readElement(const xmlNode* element, const ElementShape* shape) {
  ElementShape::Form form = shape ? shape->form : ElementShape::Form::Unknown;
  if (form == ElementShape::Form::Record || (form == ElementShape::Form::Unknown && hasChildElements(element)))
    return readRecord(element, shape);
  return xml_detail::ValueOfText(xml_detail::NodeText(element),
                                 shape ? shape->valueKind : xml_detail::ValueKind::Text);
}

// The records of the document, or the reason why there are none.
std::string readDocument(TrzRecords& vect, const std::string& strXML, const std::string& strXSD,
                         const std::string& strTypeName) {
  std::string error;
  auto schema = xml_detail::RecordSchema::Load(strXSD, error);
  if (!schema) return error;
  const ElementShape* recordShape = schema->RecordElement(strTypeName);
  if (!recordShape) return "The schema file " + strXSD + " declares no element " + strTypeName + ".";

  if (xml_detail::ReadPlainDocument(vect, strXML, *schema, recordShape, strTypeName)) return {};
  xml_detail::LibxmlErrors errors;
  // The document's own entities are replaced by their text, as the SAX reader of a bulk file replaces
  // them: a reference left in the tree is a node the schema's validator cannot walk.
  xml_detail::DocPtr doc = xml_detail::ParseText(strXML, errors, XML_PARSE_NOENT);
  if (!doc) return "The XML text is not well-formed: " + errors.Text();
  xmlNode* root = xmlDocGetRootElement(doc.get());
  dropNamespaces(root);
  if (!schema->Validate(doc.get(), error))
    return ComponentText("XML文本不符合架构") + " " + SchemaName(strXSD) + ": " + error;

  for (const xmlNode* c = root->children; c; c = c->next)
    if (c->type == XML_ELEMENT_NODE && strTypeName == Chars(c->name)) vect.Add(readElement(c, recordShape));
  return {};
}

}  // namespace

bool TrzReader::InputXMLString(std::shared_ptr<TrzRecords>& vect, const std::string& strXML,
                               const std::string& strXSD, const std::string& strTypeName, std::string& strError) {
  auto records = std::make_shared<TrzRecords>();
  try {
    strError = readDocument(*records, strXML, strXSD, strTypeName);
  } catch (const std::exception& e) {
    strError = std::string("The XML text cannot be read: ") + e.what();
  }
  vect = strError.empty() ? records : std::make_shared<TrzRecords>();
  return strError.empty();
}

const DispatchTable& TrzReader::dispatchTable() const {
  static const DispatchTable table =
      DispatchBuilder<TrzReader>().method("InputXMLString", 1, &TrzReader::InputXMLString).build();
  return table;
}

QUILLANE_REGISTER_CLASS("XMLTRZ2.Read", TrzReader)

}  // namespace quillane
