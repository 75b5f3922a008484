// The XML half of modFunction: the schema folder, and the bridge between data vectors and XML text
// through the XML component ("XMLTRZ2.Read" / "XMLTRZ2.Write"), created by ProgID for each call.
#pragma once

#include <memory>
#include <string>

#include "platform/xml/TrzRecords.h"

namespace quillane::modFunction {

// Where the registry keeps the schema folder's parent: the value "path" of this key.
inline constexpr const char* kSchemaPathKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\VELMORA\\ZIVOVIZIRADE";
inline constexpr const char* kSchemaPathValue = "path";

// Fills the apartment's schema folder when it is still empty: the registry value "path" (empty when
// missing) with a trailing separator, then "SCHEMA/". A missing value gives the relative folder
// "SCHEMA/". Every data class calls it when it is created; a registry that cannot be read raises.
void InitSchemaFolder();
// The apartment's schema folder; empty until InitSchemaFolder has run on this thread.
std::string SchemaFolder();

// The XSD file to use for strXSD: strXSD itself when a file exists there, else the file of that name in
// the Schema folder beside the library when it exists, else the file of that name beside the library.
std::string ResolveSchemaFile(const std::string& strXSD);

// vect = the records of strXML read against the resolved strXSD, strTypeName naming the record element.
// strError is emptied first and holds the component's text when the document is not valid; True exactly
// when it stays empty. A component that cannot be created raises, " -- " and the ProgID after its message.
bool ReadXMLToVector(std::shared_ptr<TrzRecords>& vect, const std::string& strXML, const std::string& strXSD,
                     const std::string& strTypeName, std::string& strError);
// strXML = the document of vect written against the resolved strXSD; strXML and strError are emptied
// first. True exactly when strError stays empty. Creation failures raise as in ReadXMLToVector.
bool WriteVectorToXML(const std::shared_ptr<TrzRecords>& vect, std::string& strXML, const std::string& strXSD,
                      const std::string& strTypeName, std::string& strError);

}  // namespace quillane::modFunction
