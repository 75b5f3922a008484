// "XMLTRZ2.Read": reads an XML document of records into a data vector, validated against an XSD file.
//
// The document is a `Root` element whose attribute `VelmoraNameSpace` names the record element, holding
// one record element per record; each child element of a record is one key, in document order. The XSD
// decides what a child is: a vector when its maxOccurs is above 1 (one TrzRecords entry per element, so
// a vector of one stays a vector), a nested record when its type is complex (an element without children
// gives an empty record), otherwise a value typed by its simple type (see record_values.h: xs:string
// and every type not listed there stay text). A key the document leaves out is absent from the record;
// a vector without entries is absent too, so its readers treat a missing key as an empty list.
// Namespaces are no part of the record format: they are dropped before validation.
#pragma once

#include <memory>
#include <string>

#include "platform/automation/object.h"
#include "platform/xml/TrzRecords.h"

namespace quillane {

class TrzReader : public AutomationObject {
 public:
  // vect receives a new vector with one TrzRecord per `strTypeName` element of the document. strError
  // becomes empty on success; a missing or broken XSD, a text that is no well-formed XML or a document
  // that breaks the schema leaves a message naming the problem there and an empty vector in vect.
  // Nothing raises. Returns strError.empty().
  bool InputXMLString(std::shared_ptr<TrzRecords>& vect, const std::string& strXML, const std::string& strXSD,
                      const std::string& strTypeName, std::string& strError);

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "Read"; }
};

}  // namespace quillane
