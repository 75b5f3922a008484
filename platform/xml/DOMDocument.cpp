#include "platform/xml/DOMDocument.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/automation/factory.h"

namespace quillane {
namespace {

using xml_detail::XmlChars;

constexpr const char* kDomSource = "MSXML2.DOMDocument.3.0";
constexpr int kDomParseOptions = xml_detail::kParseOptions | XML_PARSE_NOBLANKS;
// The error code of a load that found no XML at all (a file that cannot be opened).
constexpr std::int32_t kCannotOpen = static_cast<std::int32_t>(0x800C0005u);

// Whether the text starts with an XML declaration, in any of the encodings a loaded file may have: the
// byte-order mark is skipped and the zero bytes of UTF-16 are ignored.
bool startsWithDeclaration(std::string_view bytes) {
  for (std::string_view bom : {std::string_view("\xEF\xBB\xBF"), std::string_view("\xFF\xFE"), std::string_view("\xFE\xFF")}) {
    if (bytes.substr(0, bom.size()) == bom) {
      bytes.remove_prefix(bom.size());
      break;
    }
  }
  std::string ascii;
  for (char c : bytes.substr(0, 12))
    if (c != '\0') ascii += c;
  return ascii.rfind("<?xml", 0) == 0;
}

}  // namespace

void DOMParseError::set(std::int32_t errorCode, std::string reason, std::int32_t line, std::int32_t linepos) {
  errorCode_ = errorCode;
  reason_ = std::move(reason);
  line_ = line;
  linepos_ = linepos;
}

const DispatchTable& DOMParseError::dispatchTable() const {
  static const DispatchTable table = DispatchBuilder<DOMParseError>()
                                         .get("errorCode", 1, &DOMParseError::errorCode)
                                         .get("reason", 2, &DOMParseError::reason)
                                         .get("line", 3, &DOMParseError::line)
                                         .get("linepos", 4, &DOMParseError::linepos)
                                         .build();
  return table;
}

DOMDocument::DOMDocument() { reset(); }

void DOMDocument::reset() {
  xml_detail::InitLibxml();
  xml_detail::DocPtr empty(xmlNewDoc(XmlChars("1.0")));
  if (!empty) throw std::bad_alloc();
  node_ = reinterpret_cast<xmlNode*>(empty.get());
  tree_ = std::make_shared<xml_detail::DomTree>(xml_detail::DomTree{std::move(empty), false});
}

bool DOMDocument::adopt(xml_detail::DocPtr doc, bool hasDeclaration, const xml_detail::LibxmlErrors& errors) {
  if (!doc) {
    const auto& messages = errors.messages();
    std::string reason = errors.empty() ? "The text is no XML document." : errors.Text();
    parseError_->set(messages.empty() ? 1 : messages.front().code, reason, messages.empty() ? 0 : messages.front().line,
                     messages.empty() ? 0 : messages.front().column);
    reset();
    return false;
  }
  // Serialise as UTF-8 text rather than as character references, whatever the source was.
  if (doc->encoding) xmlFree(const_cast<xmlChar*>(doc->encoding));
  doc->encoding = xmlStrdup(XmlChars("UTF-8"));
  node_ = reinterpret_cast<xmlNode*>(doc.get());
  tree_ = std::make_shared<xml_detail::DomTree>(xml_detail::DomTree{std::move(doc), hasDeclaration});
  parseError_->set(0, "", 0, 0);
  return true;
}

bool DOMDocument::load(const std::string& path) {
  // Read once and parsed from memory: a pipe (/dev/stdin) cannot be opened a second time from its start.
  std::ifstream file(path, std::ios::binary);
  std::string bytes;
  if (file) bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  if (!file && !file.eof()) {
    parseError_->set(kCannotOpen, "The file " + path + " cannot be opened: " + std::strerror(errno), 0, 0);
    reset();
    return false;
  }
  xml_detail::LibxmlErrors errors;
  xml_detail::ParserCtxtPtr ctxt(xmlNewParserCtxt());
  if (!ctxt) throw std::bad_alloc();
  return adopt(xml_detail::DocPtr(xmlCtxtReadMemory(ctxt.get(), bytes.data(), static_cast<int>(bytes.size()),
                                                    path.c_str(), nullptr, kDomParseOptions)),
               startsWithDeclaration(bytes), errors);
}

bool DOMDocument::loadXML(const std::string& text) {
  xml_detail::LibxmlErrors errors;
  xml_detail::DocPtr doc = xml_detail::ParseText(text, errors, XML_PARSE_NOBLANKS);
  return adopt(std::move(doc), startsWithDeclaration(text), errors);
}

void DOMDocument::save(const std::string& path) const {
  xmlChar* text = nullptr;
  int size = 0;
  xmlDocDumpMemoryEnc(tree_->doc.get(), &text, &size, "UTF-8");
  xml_detail::XmlCharsPtr owned(text);
  if (!text) throw std::bad_alloc();
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (file) file.write(reinterpret_cast<const char*>(text), size);
  if (file) file.close();
  if (!file) {
    throw AutomationError(70, kDomSource,
                          "The document cannot be saved to " + path + ": " + std::strerror(errno));
  }
}

std::string DOMDocument::xml() const {
  xmlNode* first = node_->children;
  if (!first) return {};
  std::string text = tree_->hasDeclaration ? "<?xml version=\"1.0\"?>\r\n" : "";
  for (xmlNode* n = first; n; n = n->next) text += xml_detail::SerializeNode(n) + "\r\n";
  return text;
}

std::shared_ptr<DOMNode> DOMDocument::documentElement() const {
  xmlNode* root = xmlDocGetRootElement(tree_->doc.get());
  return root ? std::make_shared<DOMNode>(tree_, root) : nullptr;
}

const DispatchTable& DOMDocument::dispatchTable() const {
  static const DispatchTable table = [] {
    DispatchTable t = DispatchBuilder<DOMDocument>()
                          .method("load", 101, &DOMDocument::load)
                          .method("loadXML", 102, &DOMDocument::loadXML)
                          .method("save", 103, &DOMDocument::save)
                          .get("documentElement", 104, &DOMDocument::documentElement)
                          .get("parseError", 105, &DOMDocument::parseError)
                          .build();
    // A document is a node too: its node members dispatch to the document's own overrides.
    for (const Member& m : nodeTable().members()) t.add(m);
    return t;
  }();
  return table;
}

QUILLANE_REGISTER_CLASS("MSXML2.DOMDocument.3.0", DOMDocument)

}  // namespace quillane
