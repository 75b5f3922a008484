// A record schema compiled into plain content models, so that a document is checked while its markup is
// written instead of being parsed again by libxml2's validator.
//
// It covers what record schemas are made of: sequences (and named groups of sequences) of element
// declarations with their occurrence bounds; elements of xs:string, xs:integer, xs:double or of a
// complex type built the same way; attributes of xs:string. A schema using anything else compiles to
// nothing and is left to libxml2 whole. The check is a fast road to "valid" only: a document it does not
// accept goes to libxml2, which gives the verdict and the message, so a form it does not know (a number
// with blanks around it) costs time, never a wrong answer.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/xml/xsd_nodes.h"

namespace quillane::xml_detail {

class SchemaCheck {
 public:
  enum class Simple { String, Integer, Double };
  struct Complex;
  struct Element {
    const Complex* complex = nullptr;  // null: a value of the simple type
    Simple simple = Simple::String;
  };
  struct Particle {
    std::string name;
    unsigned min = 1, max = 1;  // max is kUnbounded for "unbounded"
    const Element* element = nullptr;
  };
  struct Complex {
    std::vector<Particle> sequence;       // groups and nested sequences laid out flat
    std::vector<std::string> attributes;  // declared, all of xs:string
    std::vector<std::string> required;
  };
  static constexpr unsigned kUnbounded = ~0u;

  // The check of documents whose root is the global element Root; null when the schema uses a construct
  // outside the subset.
  static std::unique_ptr<SchemaCheck> Compile(const SchemaGlobals& globals);

  const Element& root() const { return *root_; }

 private:
  class Compiler;
  SchemaCheck() = default;

  std::deque<Element> elements_;
  std::deque<Complex> complexes_;
  const Element* root_ = nullptr;
};

// The check of one document, fed its elements in document order as they are written.
class DocumentCheck {
 public:
  explicit DocumentCheck(const SchemaCheck& schema) : schema_(schema) {}

  // An element whose children follow, with at most one attribute (its value is not checked: every
  // attribute is of xs:string).
  void Start(std::string_view name, std::string_view attribute = {});
  // An element without children: a value, or an empty element of a complex type.
  void Leaf(std::string_view name, std::string_view text);
  void End();

  // True when what was fed is one whole document that the schema accepts.
  bool Accepted() const { return !failed_ && done_; }

 private:
  struct Open {
    const SchemaCheck::Complex* model;
    std::size_t position = 0;  // the particle being matched
    unsigned count = 0;        // the elements it matched so far
  };
  const SchemaCheck::Element* next(std::string_view name);
  bool attributesFit(const SchemaCheck::Complex& model, std::string_view attribute) const;

  const SchemaCheck& schema_;
  std::vector<Open> open_;
  bool failed_ = false, done_ = false;
};

}  // namespace quillane::xml_detail
