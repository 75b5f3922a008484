// "XMLTRZ2.Write": writes a data vector as an XML document of records, validated against an XSD file.
//
// The document: `<?xml version="1.0"?>` (no encoding: the text is handed on as a string and may be
// written into files of any encoding), then `<Root VelmoraNameSpace="type name">` with one element named
// after the type per record, each holding one child element per key in key order. A nested record is an
// element with children, a vector under key K is one K element per entry, a Null value (or Nothing) is
// left out, a value is written as record_values.h says. Nothing follows the closing "</Root>", not even a
// line break: bulk files are stitched together from pages by cutting that suffix.
//
// Item-class documents (`Root`/`ItemClass`/`Item`) carry kItemClassNamespace as the default namespace of
// each `ItemClass` element; it is set after validation, since the schemas declare no target namespace.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/automation/object.h"
#include "platform/xml/TrzRecords.h"

namespace quillane {

inline constexpr std::string_view kItemClassNamespace = "urn:velmora:trz/ItemClass";

class TrzWriter : public AutomationObject {
 public:
  // strXML receives the document and strError becomes empty on success. A missing or broken XSD, data
  // the document cannot carry (a key that is no XML name, a character XML cannot hold, an object that is
  // no record or vector) or a document that breaks the schema leaves strXML empty and a message naming
  // the problem in strError. Nothing raises. Returns strError.empty().
  bool OutputXMLString(const std::shared_ptr<TrzRecords>& vect, std::string& strXML, const std::string& strXSD,
                       const std::string& strTypeName, std::string& strError);

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "Write"; }
};

}  // namespace quillane
