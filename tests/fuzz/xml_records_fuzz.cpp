// Fuzz target: the XML component's reader of record documents against the shipped XSD files.
//
// The input is a document; the schema is the one its Root names in VelmoraNameSpace (an input naming no
// shipped schema is passed over). When the reader accepts the document, the writer writes its records
// back into a document, the reader accepts that one too, and writing what it read gives the same text
// again: nothing the reader takes in is lost or changed on the way out.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "fuzz_check.h"
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

void Check(const std::string& document) {
  std::string type = NamedType(document);
  if (!TypeNames().count(type)) return;
  std::string xsd = (kSchemaFolder / (type + ".xsd")).string();

  std::shared_ptr<TrzRecords> records;
  std::string error;
  if (!TrzReader().InputXMLString(records, document, xsd, type, error)) return;
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
