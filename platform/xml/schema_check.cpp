#include "platform/xml/schema_check.h"

#include <charconv>
#include <cstring>
#include <initializer_list>

namespace quillane::xml_detail {
namespace {

// A construct outside the subset: the schema is left to libxml2.
struct Unsupported {};

// Deeper nesting of sequences and groups than this is no record schema.
constexpr int kMaxDepth = 32;

// Unsupported unless every attribute of the XSD element is one of the names: an attribute the compiler
// does not know (default, fixed, nillable, abstract, substitutionGroup, mixed...) may change the verdict.
void onlyAttributes(const xmlNode* node, std::initializer_list<const char*> names) {
  for (const xmlAttr* a = node->properties; a; a = a->next) {
    bool known = false;
    for (const char* name : names) known = known || std::strcmp(Chars(a->name), name) == 0;
    if (a->ns || !known) throw Unsupported{};
  }
}

// minOccurs or maxOccurs, 1 when it is not given.
unsigned occurs(const xmlNode* particle, const char* name) {
  if (!HasAttribute(particle, name)) return 1;
  std::string text = Attribute(particle, name);
  if (text == "unbounded") return SchemaCheck::kUnbounded;
  unsigned n = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || end != text.data() + text.size() || n == SchemaCheck::kUnbounded) throw Unsupported{};
  return n;
}

// A sequence or group reference that stands once, so that its particles can be laid out in its parent's.
void requireOnce(const xmlNode* particle) {
  if (occurs(particle, "minOccurs") != 1 || occurs(particle, "maxOccurs") != 1) throw Unsupported{};
}

// The local name of a reference to a definition of the schema itself (which has no target namespace, so
// the reference carries no prefix).
std::string definitionName(const std::string& qname) {
  if (qname.find(':') != std::string::npos) throw Unsupported{};
  return qname;
}

template <class Map>
const xmlNode* definition(const Map& map, const std::string& qname) {
  auto it = map.find(definitionName(qname));
  if (it == map.end()) throw Unsupported{};
  return it->second;
}

// libxml2's reading of xs:integer: a sign, then digits, of which it keeps 24 after the leading zeros and
// refuses a longer number. Blanks around the digits are left to libxml2.
bool isWholeNumber(std::string_view s) {
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) s.remove_prefix(1);
  if (s.empty()) return false;
  std::size_t k = 0;
  while (k < s.size() && s[k] == '0') ++k;
  for (std::size_t d = k; d < s.size(); ++d)
    if (s[d] < '0' || s[d] > '9') return false;
  return s.size() - k <= 24;
}

// xs:double in the forms the writer produces: "NaN", "INF", "-INF", or digits with an optional fraction
// and exponent. Other forms XSD allows ("+1", ".5", blanks around) are left to libxml2.
bool isDouble(std::string_view s) {
  if (s == "NaN" || s == "INF" || s == "-INF") return true;
  if (!s.empty() && s.front() == '-') s.remove_prefix(1);
  auto digits = [&s] {
    std::size_t n = 0;
    while (!s.empty() && s.front() >= '0' && s.front() <= '9') s.remove_prefix(1), ++n;
    return n;
  };
  if (digits() == 0) return false;
  if (!s.empty() && s.front() == '.') {
    s.remove_prefix(1);
    if (digits() == 0) return false;
  }
  if (!s.empty() && (s.front() == 'E' || s.front() == 'e')) {
    s.remove_prefix(1);
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) s.remove_prefix(1);
    if (digits() == 0) return false;
  }
  return s.empty();
}

bool valueFits(SchemaCheck::Simple type, std::string_view text) {
  switch (type) {
    case SchemaCheck::Simple::String: return true;
    case SchemaCheck::Simple::Integer: return isWholeNumber(text);
    case SchemaCheck::Simple::Double: return isDouble(text);
  }
  return false;
}

}  // namespace

class SchemaCheck::Compiler {
 public:
  Compiler(SchemaCheck& check, const SchemaGlobals& globals) : check_(check), globals_(globals) {}

  // The type of a declaration that is no reference, global or local.
  const Element* declaredType(const xmlNode* decl) {
    onlyAttributes(decl, {"name", "type", "minOccurs", "maxOccurs", "id"});
    const xmlNode* anonymous = nullptr;
    ForEachChildElement(decl, [&](const xmlNode* c) {
      if (IsXsd(c, "annotation")) return;
      if (!IsXsd(c, "complexType") || anonymous) throw Unsupported{};
      anonymous = c;
    });
    Element& element = check_.elements_.emplace_back();
    if (!HasAttribute(decl, "type")) {
      if (!anonymous) throw Unsupported{};  // xs:anyType
      element.complex = complexType(anonymous);
      return &element;
    }
    if (anonymous) throw Unsupported{};
    std::string type = Attribute(decl, "type");
    if (IsBuiltinName(decl, type)) {
      std::string name = LocalPart(type);
      if (name == "string") element.simple = Simple::String;
      else if (name == "integer") element.simple = Simple::Integer;
      else if (name == "double") element.simple = Simple::Double;
      else throw Unsupported{};
    } else {
      element.complex = complexType(definition(globals_.complexTypes, type));
    }
    return &element;
  }

  const Element* globalElement(const xmlNode* decl) {
    auto [it, inserted] = globalElements_.try_emplace(decl, nullptr);
    if (inserted) it->second = declaredType(decl);
    return it->second;
  }

 private:
  const Complex* complexType(const xmlNode* node) {
    auto [it, inserted] = complexTypes_.try_emplace(node, nullptr);
    if (!inserted) return it->second;
    // Entered before it is filled, so that a type that contains itself ends the recursion here.
    Complex& model = check_.complexes_.emplace_back();
    it->second = &model;
    onlyAttributes(node, {"name", "id", "mixed"});
    if (HasAttribute(node, "mixed") && Attribute(node, "mixed") != "false") throw Unsupported{};
    bool content = false, attributes = false;
    ForEachChildElement(node, [&](const xmlNode* c) {
      if (IsXsd(c, "annotation")) return;
      if ((IsXsd(c, "sequence") || IsXsd(c, "group")) && !content && !attributes) {
        content = true;
        addParticle(c, model, 0);
      } else if (IsXsd(c, "attribute")) {
        attributes = true;
        addAttribute(c, model);
      } else {
        throw Unsupported{};
      }
    });
    return &model;
  }

  void addParticle(const xmlNode* node, Complex& model, int depth) {
    if (depth > kMaxDepth) throw Unsupported{};
    if (IsXsd(node, "element")) {
      Particle particle{.name = {}, .min = occurs(node, "minOccurs"), .max = occurs(node, "maxOccurs"), .element = nullptr};
      if (particle.max == 0 || particle.min > particle.max) throw Unsupported{};
      if (HasAttribute(node, "ref")) {
        onlyAttributes(node, {"ref", "minOccurs", "maxOccurs", "id"});
        const xmlNode* global = definition(globals_.elements, Attribute(node, "ref"));
        particle.name = Attribute(global, "name");
        particle.element = globalElement(global);
      } else {
        particle.name = Attribute(node, "name");
        particle.element = declaredType(node);
      }
      model.sequence.push_back(std::move(particle));
    } else if (IsXsd(node, "sequence")) {
      onlyAttributes(node, {"minOccurs", "maxOccurs", "id"});
      requireOnce(node);
      ForEachChildElement(node, [&](const xmlNode* c) {
        if (!IsXsd(c, "annotation")) addParticle(c, model, depth + 1);
      });
    } else if (IsXsd(node, "group")) {
      onlyAttributes(node, {"ref", "minOccurs", "maxOccurs", "id"});
      requireOnce(node);
      ForEachChildElement(definition(globals_.groups, Attribute(node, "ref")), [&](const xmlNode* c) {
        if (IsXsd(c, "annotation")) return;
        if (!IsXsd(c, "sequence")) throw Unsupported{};
        addParticle(c, model, depth + 1);
      });
    } else {
      throw Unsupported{};  // choice, all, any
    }
  }

  void addAttribute(const xmlNode* node, Complex& model) {
    onlyAttributes(node, {"name", "type", "use", "id"});
    ForEachChildElement(node, [](const xmlNode* c) {
      if (!IsXsd(c, "annotation")) throw Unsupported{};
    });
    std::string type = Attribute(node, "type"), use = Attribute(node, "use");
    if (!IsBuiltinName(node, type) || LocalPart(type) != "string") throw Unsupported{};
    std::string name = Attribute(node, "name");
    if (use == "required") model.required.push_back(name);
    else if (!use.empty() && use != "optional") throw Unsupported{};
    model.attributes.push_back(std::move(name));
  }

  SchemaCheck& check_;
  const SchemaGlobals& globals_;
  std::map<const xmlNode*, const Element*> globalElements_;
  std::map<const xmlNode*, Complex*> complexTypes_;
};

std::unique_ptr<SchemaCheck> SchemaCheck::Compile(const SchemaGlobals& globals) {
  std::unique_ptr<SchemaCheck> check(new SchemaCheck());
  try {
    for (const xmlNode* root : globals.roots) {
      // A target namespace, or definitions taken from another namespace or redefined, is another subset.
      onlyAttributes(root, {"elementFormDefault", "attributeFormDefault", "version", "id"});
      ForEachChildElement(root, [](const xmlNode* c) {
        if (IsXsd(c, "import") || IsXsd(c, "redefine") || IsXsd(c, "override")) throw Unsupported{};
      });
    }
    // An element of a substitution group may stand where its head is declared.
    for (const auto& [name, decl] : globals.elements)
      if (HasAttribute(decl, "substitutionGroup")) throw Unsupported{};
    auto root = globals.elements.find("Root");
    if (root == globals.elements.end()) return nullptr;
    check->root_ = Compiler(*check, globals).globalElement(root->second);
  } catch (const Unsupported&) {
    return nullptr;
  }
  if (!check->root_->complex) return nullptr;
  return check;
}

const SchemaCheck::Element* DocumentCheck::next(std::string_view name) {
  Open& open = open_.back();
  const auto& sequence = open.model->sequence;
  while (open.position < sequence.size()) {
    const SchemaCheck::Particle& particle = sequence[open.position];
    if (particle.name == name && open.count < particle.max) {
      ++open.count;
      return particle.element;
    }
    if (open.count < particle.min) return nullptr;
    ++open.position;
    open.count = 0;
  }
  return nullptr;
}

bool DocumentCheck::attributesFit(const SchemaCheck::Complex& model, std::string_view attribute) const {
  for (const std::string& required : model.required)
    if (required != attribute) return false;
  if (attribute.empty()) return true;
  for (const std::string& declared : model.attributes)
    if (declared == attribute) return true;
  return false;
}

void DocumentCheck::Start(std::string_view name, std::string_view attribute) {
  if (failed_) return;
  const SchemaCheck::Element* element = nullptr;
  if (open_.empty()) {
    if (!done_ && name == "Root") element = &schema_.root();
  } else {
    element = next(name);
  }
  failed_ = !element || !element->complex || !attributesFit(*element->complex, attribute);
  if (!failed_) open_.push_back(Open{element->complex});
}

void DocumentCheck::Leaf(std::string_view name, std::string_view text) {
  if (failed_) return;
  const SchemaCheck::Element* element = open_.empty() ? nullptr : next(name);
  if (!element) {
    failed_ = true;
  } else if (!element->complex) {
    failed_ = !valueFits(element->simple, text);
  } else {
    // An empty element of a complex type: its content must allow nothing. Blanks between the children
    // of element content are allowed as well, but left to libxml2.
    failed_ = !text.empty() || !attributesFit(*element->complex, {});
    for (const SchemaCheck::Particle& particle : element->complex->sequence) failed_ = failed_ || particle.min > 0;
  }
}

void DocumentCheck::End() {
  if (failed_) return;
  if (open_.empty()) {
    failed_ = true;
    return;
  }
  const Open& open = open_.back();
  const auto& sequence = open.model->sequence;
  for (std::size_t k = open.position; k < sequence.size() && !failed_; ++k)
    failed_ = (k == open.position ? open.count : 0) < sequence[k].min;
  open_.pop_back();
  done_ = open_.empty();
}

}  // namespace quillane::xml_detail
