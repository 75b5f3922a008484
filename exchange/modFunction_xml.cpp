#include "exchange/modFunction_xml.h"

#include <filesystem>
#include <vector>

#include "platform/automation/factory.h"
#include "platform/automation/module.h"
#include "platform/automation/vbconv.h"
#include "platform/xml/TrzGlobal.h"

namespace quillane::modFunction {
namespace {

// ---- Private stand-ins for CreateObjectEx, AddBackslash and GetFileName of modFunction's connection
// ---- and text helpers; to be replaced by those once they are in the tree.
ObjectRef createComponent(const std::string& strProgID) {
  try {
    return CreateObject(strProgID);
  } catch (const AutomationError& e) {
    throw AutomationError(e.number, e.source, e.description + " -- " + strProgID);
  }
}

std::string withTrailingSeparator(const std::string& strPath) {
  if (strPath.empty() || strPath.back() == '\\' || strPath.back() == '/') return strPath;
  return strPath + "/";
}

std::string fileNameOf(const std::string& strPath) {
  std::size_t slash = strPath.find_last_of("\\/");
  return slash == std::string::npos ? strPath : strPath.substr(slash + 1);
}
// ---- End of the private stand-ins.

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
  schemaFolder = withTrailingSeparator(path) + "SCHEMA/";
}

std::string SchemaFolder() { return schemaFolder; }

std::string ResolveSchemaFile(const std::string& strXSD) {
  if (fileExists(strXSD)) return strXSD;
  std::string inSchemaFolder = LibraryFolder() + "/Schema/" + fileNameOf(strXSD);
  if (fileExists(inSchemaFolder)) return inSchemaFolder;
  return LibraryFolder() + "/" + fileNameOf(strXSD);
}

bool ReadXMLToVector(std::shared_ptr<TrzRecords>& vect, const std::string& strXML, const std::string& strXSD,
                     const std::string& strTypeName, std::string& strError) {
  strError.clear();
  ObjectRef reader = createComponent("XMLTRZ2.Read");
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
  ObjectRef writer = createComponent("XMLTRZ2.Write");
  std::vector<Variant> args{Variant(vect), strXML, ResolveSchemaFile(strXSD), strTypeName, strError};
  writer->Call("OutputXMLString", args);
  strXML = CStr(args[1]);
  strError = CStr(args[4]);
  return strError.empty();
}

}  // namespace quillane::modFunction
