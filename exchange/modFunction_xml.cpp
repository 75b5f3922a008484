#include "exchange/modFunction_xml.h"

#include <filesystem>
#include <vector>

#include "exchange/modFunction_connection.h"
#include "exchange/modFunction_text.h"
#include "platform/automation/module.h"
#include "platform/automation/vbconv.h"
#include "platform/xml/TrzGlobal.h"

namespace quillane::modFunction {
namespace {

thread_local std::string schemaFolder;
thread_local std::shared_ptr<TrzGlobal> trzGlobal;

bool fileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

void InitSchemaFolder() {
  if (!schemaFolder.empty()) return;
  if (!trzGlobal) trzGlobal = std::make_shared<TrzGlobal>();
  std::string path = CStr(trzGlobal->Registry()->ReadValue(kSchemaPathKey, kSchemaPathValue, Variant("")));
  schemaFolder = AddBackslash(path) + "SCHEMA/";
}

std::string SchemaFolder() { return schemaFolder; }

std::string ResolveSchemaFile(const std::string& strXSD) {
  if (fileExists(strXSD)) return strXSD;
  std::string inSchemaFolder = DataFolder() + "/Schema/" + GetFileName(strXSD);
  if (fileExists(inSchemaFolder)) return inSchemaFolder;
  return DataFolder() + "/" + GetFileName(strXSD);
}

bool ReadXMLToVector(std::shared_ptr<TrzRecords>& vect, const std::string& strXML, const std::string& strXSD,
                     const std::string& strTypeName, std::string& strError) {
  strError.clear();
  ObjectRef reader = CreateObjectEx("XMLTRZ2.Read", "", true);
  std::vector<Variant> args{Variant(vect), strXML, ResolveSchemaFile(strXSD), strTypeName, strError};
  reader->Call("InputXMLString", args);
  vect = fromVariant<std::shared_ptr<TrzRecords>>(args[0]);
  strError = CStr(args[4]);
  return strError.empty();
}

bool WriteVectorToXML(const std::shared_ptr<TrzRecords>& vect, std::string& strXML, const std::string& strXSD,
                      const std::string& strTypeName, std::string& strError) {
  strXML.clear();
  strError.clear();
  ObjectRef writer = CreateObjectEx("XMLTRZ2.Write", "", true);
  std::vector<Variant> args{Variant(vect), strXML, ResolveSchemaFile(strXSD), strTypeName, strError};
  writer->Call("OutputXMLString", args);
  strXML = CStr(args[1]);
  strError = CStr(args[4]);
  return strError.empty();
}

}  // namespace quillane::modFunction
