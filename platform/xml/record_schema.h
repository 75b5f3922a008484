// An XSD file as the reader and writer of records need it: compiled for validation, and read for the shape
// of the records it describes (which child element is a vector, a nested record or a value, and of what
// simple type).
//
// The shape is taken from the subset of XSD that record schemas use: global and local element
// declarations, element references, named and anonymous complex and simple types, sequence, choice, all
// and named groups, complex content extending a named type, simple content, include and import. A schema
// declares no target namespace; names are matched by local name. Anything outside the subset still
// validates; its elements are read by their form (children: a record, none: a text).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/xml/libxml_support.h"

namespace quillane::xml_detail {

// How a value element's text becomes a Variant on reading (and a Boolean is written), by the XSD simple
// type it is derived from.
enum class ValueKind {
  Text,         // every other type: a String
  Boolean,      // xs:boolean: a Boolean
  WholeNumber,  // xs:integer and its derived types: a Long, or the text when it exceeds a Long
  Number,       // xs:decimal, xs:double, xs:float: a Double
  Date,         // xs:date, xs:dateTime: a Date, or the text when it carries a zone or fraction
};

struct ComplexShape;
class SchemaCheck;

struct ElementShape {
  enum class Form { Value, Record, Unknown };
  Form form = Form::Unknown;
  bool repeated = false;  // maxOccurs above 1, on the element or on a group around it: a vector
  ValueKind valueKind = ValueKind::Text;
  const ComplexShape* content = nullptr;  // the child elements of a Record

  const ElementShape* Child(std::string_view name) const;
};

// Names hashed as views, so that the writer and the reader look up each key of each record without
// making a string of it.
struct NameHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
};

struct ComplexShape {
  std::unordered_map<std::string, ElementShape, NameHash, std::equal_to<>> children;
};

class RecordSchema {
 public:
  // Compiles and reads the XSD file. Null when the file is missing or is no valid schema; `error` names
  // the file and the problem.
  static std::unique_ptr<RecordSchema> Load(const std::string& xsdPath, std::string& error);
  ~RecordSchema();

  // The declaration of the record element: the element of that name inside the content of the global
  // `Root` element, else a global element of that name; null when the schema declares neither.
  const ElementShape* RecordElement(std::string_view typeName);

  // True when the document is valid; else false with the validator's messages in `error`.
  bool Validate(xmlDoc* doc, std::string& error) const;
  // The schema compiled for checking documents while they are written; null when it uses a construct the
  // check does not know.
  const SchemaCheck* Check();

  // The same verdict for a document as UTF-8 markup, read as a stream without building it; the messages
  // are dropped (a stream knows no element paths to name: validate the DOM for them).
  bool ValidateText(std::string_view markup) const;

  const std::string& path() const { return path_; }
  // The compiled schema, for a validator of libxml2's own (record_stream.h).
  xmlSchema* Compiled() const { return compiled_; }

 private:
  struct Definitions;
  RecordSchema() = default;

  std::string path_;
  xmlSchema* compiled_ = nullptr;
  std::unique_ptr<Definitions> definitions_;
  std::map<std::string, ElementShape, std::less<>> recordElements_;
  std::unique_ptr<SchemaCheck> check_;
  bool checkCompiled_ = false;
};

}  // namespace quillane::xml_detail
