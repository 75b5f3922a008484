#include "platform/xml/record_schema.h"

#include <charconv>
#include <climits>
#include <filesystem>
#include <set>
#include <vector>

#include "platform/xml/schema_check.h"
#include "platform/xml/xsd_nodes.h"

namespace quillane::xml_detail {
namespace {

// Deeper type chains than this are no record schema; the rest of the chain is read as text.
constexpr int kMaxTypeDepth = 32;

bool occursMany(const xmlNode* particle) {
  std::string max = Attribute(particle, "maxOccurs");
  if (max == "unbounded") return true;
  unsigned long long n = 0;
  auto [end, ec] = std::from_chars(max.data(), max.data() + max.size(), n);
  return ec == std::errc() && end == max.data() + max.size() && n > 1;
}

ValueKind builtinKind(const std::string& name) {
  static const std::set<std::string, std::less<>> wholeNumbers = {
      "integer",       "nonPositiveInteger", "negativeInteger", "long",           "int",
      "short",         "byte",               "nonNegativeInteger", "unsignedLong", "unsignedInt",
      "unsignedShort", "unsignedByte",       "positiveInteger"};
  if (name == "boolean") return ValueKind::Boolean;
  if (wholeNumbers.count(name)) return ValueKind::WholeNumber;
  if (name == "decimal" || name == "double" || name == "float") return ValueKind::Number;
  if (name == "date" || name == "dateTime") return ValueKind::Date;
  return ValueKind::Text;
}

}  // namespace

const ElementShape* ElementShape::Child(std::string_view name) const {
  if (!content) return nullptr;
  auto it = content->children.find(name);
  return it == content->children.end() ? nullptr : &it->second;
}

// The global definitions of the schema file and of the files it includes, and the shapes built from them.
struct RecordSchema::Definitions : SchemaGlobals {
  std::vector<DocPtr> documents;
  std::set<std::string> loadedFiles;
  std::map<const xmlNode*, ComplexShape> contents;  // per complex type; node-based, so pointers stay valid

  bool loadFile(const std::filesystem::path& file, std::string& error);
  ElementShape declaration(const xmlNode* decl, bool repeatedByGroup, int depth);
  void applyType(const xmlNode* context, const std::string& qname, ElementShape& shape, int depth);
  void applyComplexType(const xmlNode* complexType, ElementShape& shape, int depth);
  const ComplexShape* content(const xmlNode* complexType, int depth);
  void addParticles(const xmlNode* node, ComplexShape& shape, bool repeated, int depth);
  ValueKind simpleKind(const xmlNode* simpleType, int depth);
  ValueKind kindOfTypeName(const xmlNode* context, const std::string& qname, int depth);
  ValueKind simpleContentKind(const xmlNode* simpleContent, int depth);
};

bool RecordSchema::Definitions::loadFile(const std::filesystem::path& file, std::string& error) {
  std::error_code ec;
  std::string key = std::filesystem::weakly_canonical(file, ec).string();
  if (ec) key = file.string();
  if (!loadedFiles.insert(key).second) return true;
  LibxmlErrors errors;
  DocPtr doc(xmlReadFile(file.c_str(), nullptr, kParseOptions));
  if (!doc) {
    error = "The schema file " + file.string() + " cannot be read: " + errors.Text();
    return false;
  }
  const xmlNode* root = xmlDocGetRootElement(doc.get());
  roots.push_back(root);
  ForEachChildElement(root, [&](const xmlNode* c) {
    std::string name = Attribute(c, "name");
    if (IsXsd(c, "element")) elements.emplace(name, c);
    else if (IsXsd(c, "complexType")) complexTypes.emplace(name, c);
    else if (IsXsd(c, "simpleType")) simpleTypes.emplace(name, c);
    else if (IsXsd(c, "group")) groups.emplace(name, c);
  });
  std::vector<std::filesystem::path> referenced;
  ForEachChildElement(root, [&](const xmlNode* c) {
    if (!IsXsd(c, "include") && !IsXsd(c, "import") && !IsXsd(c, "redefine")) return;
    std::string location = Attribute(c, "schemaLocation");
    if (location.rfind("file://", 0) == 0) location.erase(0, 7);
    if (!location.empty()) referenced.push_back(file.parent_path() / location);
  });
  documents.push_back(std::move(doc));
  for (const auto& next : referenced)
    if (!loadFile(next, error)) return false;
  return true;
}

ElementShape RecordSchema::Definitions::declaration(const xmlNode* decl, bool repeatedByGroup, int depth) {
  ElementShape shape;
  bool repeated = repeatedByGroup || occursMany(decl);
  if (depth > kMaxTypeDepth) return shape;
  if (std::string ref = Attribute(decl, "ref"); !ref.empty()) {
    auto global = elements.find(LocalPart(ref));
    if (global != elements.end()) shape = declaration(global->second, false, depth + 1);
  } else if (std::string type = Attribute(decl, "type"); !type.empty()) {
    applyType(decl, type, shape, depth);
  } else {
    ForEachChildElement(decl, [&](const xmlNode* c) {
      if (IsXsd(c, "complexType")) {
        applyComplexType(c, shape, depth);
      } else if (IsXsd(c, "simpleType")) {
        shape.form = ElementShape::Form::Value;
        shape.valueKind = simpleKind(c, depth + 1);
      }
    });
  }
  shape.repeated = repeated;
  return shape;
}

void RecordSchema::Definitions::applyType(const xmlNode* context, const std::string& qname, ElementShape& shape,
                                          int depth) {
  std::string name = LocalPart(qname);
  if (IsBuiltinName(context, qname)) {
    if (name == "anyType") return;
    shape.form = ElementShape::Form::Value;
    shape.valueKind = builtinKind(name);
  } else if (auto ct = complexTypes.find(name); ct != complexTypes.end()) {
    applyComplexType(ct->second, shape, depth);
  } else if (auto st = simpleTypes.find(name); st != simpleTypes.end()) {
    shape.form = ElementShape::Form::Value;
    shape.valueKind = simpleKind(st->second, depth + 1);
  }
}

void RecordSchema::Definitions::applyComplexType(const xmlNode* complexType, ElementShape& shape, int depth) {
  const xmlNode* simpleContent = nullptr;
  ForEachChildElement(complexType, [&](const xmlNode* c) {
    if (IsXsd(c, "simpleContent")) simpleContent = c;
  });
  if (simpleContent) {
    shape.form = ElementShape::Form::Value;
    shape.valueKind = simpleContentKind(simpleContent, depth + 1);
  } else {
    shape.form = ElementShape::Form::Record;
    shape.content = content(complexType, depth + 1);
  }
}

const ComplexShape* RecordSchema::Definitions::content(const xmlNode* complexType, int depth) {
  auto [it, inserted] = contents.try_emplace(complexType);
  // Entered before it is filled, so that a type that contains itself ends the recursion here.
  if (inserted) addParticles(complexType, it->second, false, depth);
  return &it->second;
}

void RecordSchema::Definitions::addParticles(const xmlNode* node, ComplexShape& shape, bool repeated, int depth) {
  if (depth > kMaxTypeDepth) return;
  ForEachChildElement(node, [&](const xmlNode* c) {
    if (IsXsd(c, "element")) {
      std::string name = Attribute(c, "name");
      if (name.empty()) name = LocalPart(Attribute(c, "ref"));
      ElementShape child = declaration(c, repeated, depth + 1);
      auto [it, inserted] = shape.children.emplace(name, child);
      // The same name twice in one content model ("A, B, A") is a repeated element as well.
      if (!inserted) it->second.repeated = true;
    } else if (IsXsd(c, "sequence") || IsXsd(c, "choice") || IsXsd(c, "all")) {
      addParticles(c, shape, repeated || occursMany(c), depth + 1);
    } else if (IsXsd(c, "group")) {
      auto group = groups.find(LocalPart(Attribute(c, "ref")));
      if (group != groups.end()) addParticles(group->second, shape, repeated || occursMany(c), depth + 1);
    } else if (IsXsd(c, "complexContent")) {
      addParticles(c, shape, repeated, depth + 1);
    } else if (IsXsd(c, "extension")) {
      auto base = complexTypes.find(LocalPart(Attribute(c, "base")));
      if (base != complexTypes.end()) addParticles(base->second, shape, repeated, depth + 1);
      addParticles(c, shape, repeated, depth + 1);
    } else if (IsXsd(c, "restriction")) {
      addParticles(c, shape, repeated, depth + 1);
    }
  });
}

ValueKind RecordSchema::Definitions::simpleKind(const xmlNode* simpleType, int depth) {
  ValueKind kind = ValueKind::Text;
  if (depth > kMaxTypeDepth) return kind;
  ForEachChildElement(simpleType, [&](const xmlNode* c) {
    if (!IsXsd(c, "restriction")) return;  // a list or a union is read as text
    if (std::string base = Attribute(c, "base"); !base.empty()) {
      kind = kindOfTypeName(c, base, depth + 1);
      return;
    }
    ForEachChildElement(c, [&](const xmlNode* inner) {
      if (IsXsd(inner, "simpleType")) kind = simpleKind(inner, depth + 1);
    });
  });
  return kind;
}

ValueKind RecordSchema::Definitions::kindOfTypeName(const xmlNode* context, const std::string& qname, int depth) {
  std::string name = LocalPart(qname);
  if (IsBuiltinName(context, qname)) return builtinKind(name);
  if (auto st = simpleTypes.find(name); st != simpleTypes.end()) return simpleKind(st->second, depth + 1);
  if (auto ct = complexTypes.find(name); ct != complexTypes.end()) {
    ValueKind kind = ValueKind::Text;
    ForEachChildElement(ct->second, [&](const xmlNode* c) {
      if (IsXsd(c, "simpleContent")) kind = simpleContentKind(c, depth + 1);
    });
    return kind;
  }
  return ValueKind::Text;
}

ValueKind RecordSchema::Definitions::simpleContentKind(const xmlNode* simpleContent, int depth) {
  ValueKind kind = ValueKind::Text;
  ForEachChildElement(simpleContent, [&](const xmlNode* c) {
    if (IsXsd(c, "extension") || IsXsd(c, "restriction")) kind = kindOfTypeName(c, Attribute(c, "base"), depth + 1);
  });
  return kind;
}

std::unique_ptr<RecordSchema> RecordSchema::Load(const std::string& xsdPath, std::string& error) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(xsdPath, ec)) {
    error = "The schema file " + xsdPath + " does not exist.";
    return nullptr;
  }
  std::unique_ptr<RecordSchema> schema(new RecordSchema());
  schema->path_ = xsdPath;
  {
    LibxmlErrors errors;
    xmlSchemaParserCtxt* parser = xmlSchemaNewParserCtxt(xsdPath.c_str());
    if (parser) {
      schema->compiled_ = xmlSchemaParse(parser);
      xmlSchemaFreeParserCtxt(parser);
    }
    if (!schema->compiled_) {
      error = "The schema file " + xsdPath + " is no valid XML schema: " + errors.Text();
      return nullptr;
    }
  }
  schema->definitions_ = std::make_unique<Definitions>();
  if (!schema->definitions_->loadFile(xsdPath, error)) return nullptr;
  return schema;
}

RecordSchema::~RecordSchema() {
  if (compiled_) xmlSchemaFree(compiled_);
}

const ElementShape* RecordSchema::RecordElement(std::string_view typeName) {
  if (auto cached = recordElements_.find(typeName); cached != recordElements_.end()) return &cached->second;
  Definitions& d = *definitions_;
  const ElementShape* found = nullptr;
  ElementShape root;
  if (auto r = d.elements.find("Root"); r != d.elements.end()) root = d.declaration(r->second, false, 0);
  if (const ElementShape* inRoot = root.Child(typeName)) {
    found = &recordElements_.emplace(std::string(typeName), *inRoot).first->second;
  } else if (auto global = d.elements.find(typeName); global != d.elements.end()) {
    found = &recordElements_.emplace(std::string(typeName), d.declaration(global->second, false, 0)).first->second;
  }
  return found;
}

const SchemaCheck* RecordSchema::Check() {
  if (!checkCompiled_) check_ = SchemaCheck::Compile(*definitions_);
  checkCompiled_ = true;
  return check_.get();
}

bool RecordSchema::Validate(xmlDoc* doc, std::string& error) const {
  LibxmlErrors errors;
  xmlSchemaValidCtxt* validator = xmlSchemaNewValidCtxt(compiled_);
  if (!validator) throw std::bad_alloc();
  int result = xmlSchemaValidateDoc(validator, doc);
  xmlSchemaFreeValidCtxt(validator);
  if (result == 0) return true;
  error = errors.empty() ? "the validator failed without a message" : errors.Text();
  return false;
}

bool RecordSchema::ValidateText(std::string_view markup) const {
  if (markup.size() > static_cast<std::size_t>(INT_MAX)) return false;
  LibxmlErrors errors;
  xmlSchemaValidCtxt* validator = xmlSchemaNewValidCtxt(compiled_);
  // The stream frees the input buffer with its parser.
  xmlParserInputBuffer* input =
      xmlParserInputBufferCreateMem(markup.data(), static_cast<int>(markup.size()), XML_CHAR_ENCODING_UTF8);
  if (!validator || !input) {
    if (validator) xmlSchemaFreeValidCtxt(validator);
    if (input) xmlFreeParserInputBuffer(input);
    throw std::bad_alloc();
  }
  int result = xmlSchemaValidateStream(validator, input, XML_CHAR_ENCODING_UTF8, nullptr, nullptr);
  xmlSchemaFreeValidCtxt(validator);
  return result == 0;
}

}  // namespace quillane::xml_detail
