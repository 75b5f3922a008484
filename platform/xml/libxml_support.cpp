#include "platform/xml/libxml_support.h"

#include <libxml/SAX2.h>

#include <climits>
#include <mutex>
#include <new>

namespace quillane::xml_detail {

void InitLibxml() {
  static std::once_flag once;
  std::call_once(once, [] { xmlInitParser(); });
}

LibxmlMessage ToMessage(const xmlError& error) {
  LibxmlMessage m;
  m.code = error.code;
  m.line = error.line;
  m.column = error.int2;
  m.fatal = error.level == XML_ERR_FATAL;
  if (auto* node = static_cast<xmlNode*>(error.node); node && node->type == XML_ELEMENT_NODE && node->line == 0) {
    xmlChar* path = xmlGetNodePath(node);
    if (path) m.path = Chars(path);
    xmlFree(path);
  }
  m.text = error.message ? error.message : "unknown error";
  while (!m.text.empty() && (m.text.back() == '\n' || m.text.back() == '\r' || m.text.back() == ' '))
    m.text.pop_back();
  return m;
}

LibxmlErrors::LibxmlErrors() : previousHandler_(xmlStructuredError), previousContext_(xmlStructuredErrorContext) {
  InitLibxml();
  xmlSetStructuredErrorFunc(this, &LibxmlErrors::collect);
}

LibxmlErrors::~LibxmlErrors() { xmlSetStructuredErrorFunc(previousContext_, previousHandler_); }

void LibxmlErrors::collect(void* self, xmlError* error) {
  if (error && error->level != XML_ERR_WARNING) static_cast<LibxmlErrors*>(self)->messages_.push_back(ToMessage(*error));
}

std::string LibxmlErrors::Text() const {
  std::string text;
  for (const LibxmlMessage& m : messages_) {
    if (!text.empty()) text += "\r\n";
    if (m.line > 0) text += "line " + std::to_string(m.line) + ": ";
    else if (!m.path.empty()) text += m.path + ": ";
    text += m.text;
  }
  return text;
}

bool IsOwnEntity(int type) { return type == XML_INTERNAL_GENERAL_ENTITY; }

xmlEntity* OwnEntity(xmlParserCtxt* ctxt, const xmlChar* name) {
  xmlEntity* entity = ctxt && ctxt->myDoc ? xmlGetDocEntity(ctxt->myDoc, name) : nullptr;
  return entity && IsOwnEntity(entity->etype) ? entity : nullptr;
}

namespace {

// A tree parse looks every reference up in the document's declarations whatever its own lookup says,
// so there an entity the document may not use is not declared at all: a reference to it is then
// undeclared, as it is to the SAX reader (OwnEntity).
void declareOwnEntity(void* ctxt, const xmlChar* name, int type, const xmlChar* publicId, const xmlChar* systemId,
                      xmlChar* content) {
  if (IsOwnEntity(type)) xmlSAX2EntityDecl(ctxt, name, type, publicId, systemId, content);
}

}  // namespace

DocPtr ParseText(std::string_view text, LibxmlErrors& errors, int extraOptions) {
  InitLibxml();
  if (text.size() > static_cast<std::size_t>(INT_MAX)) {
    errors.Add("the text is larger than 2 GB");
    return nullptr;
  }
  ParserCtxtPtr ctxt(xmlNewParserCtxt());
  if (!ctxt) return nullptr;
  if (extraOptions & XML_PARSE_NOENT) ctxt->sax->entityDecl = declareOwnEntity;
  return DocPtr(xmlCtxtReadMemory(ctxt.get(), text.data(), static_cast<int>(text.size()), nullptr, "UTF-8",
                                  kParseOptions | XML_PARSE_IGNORE_ENC | extraOptions));
}

std::string SerializeNode(xmlNode* node) {
  std::unique_ptr<xmlBuffer, decltype(&xmlBufferFree)> buffer(xmlBufferCreate(), &xmlBufferFree);
  if (!buffer) throw std::bad_alloc();
  xmlNodeDump(buffer.get(), node->doc, node, 0, 0);
  return std::string(Chars(xmlBufferContent(buffer.get())), static_cast<std::size_t>(xmlBufferLength(buffer.get())));
}

std::string NodeText(const xmlNode* node) {
  xmlChar* content = xmlNodeGetContent(node);
  std::string text = content ? Chars(content) : "";
  xmlFree(content);
  return text;
}

namespace {

bool isXmlChar(char32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
         (c >= 0x10000 && c <= 0x10FFFF);
}

}  // namespace

char32_t FirstNonXmlChar(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    auto b = static_cast<unsigned char>(text[i]);
    std::size_t length = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + length > text.size()) return kNotUtf8;
    char32_t c = length == 1 ? b : b & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return kNotUtf8;
      c = (c << 6) | (next & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[length] || (c >= 0xD800 && c <= 0xDFFF)) return kNotUtf8;
    if (!isXmlChar(c)) return c;
    i += length;
  }
  return 0;
}

}  // namespace quillane::xml_detail
