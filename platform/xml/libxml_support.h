// What every libxml2-based class of the XML component shares: one-time initialisation, owners of
// libxml2's objects, the collection of its error messages and the serialisation of a node.
#pragma once

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlschemas.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillane::xml_detail {

// Call before using libxml2 (cheap after the first call).
void InitLibxml();

struct DocFree {
  void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};
using DocPtr = std::unique_ptr<xmlDoc, DocFree>;

struct XmlFree {
  void operator()(void* p) const { xmlFree(p); }
};
using XmlCharsPtr = std::unique_ptr<xmlChar, XmlFree>;

struct ParserCtxtFree {
  void operator()(xmlParserCtxt* c) const { xmlFreeParserCtxt(c); }
};
using ParserCtxtPtr = std::unique_ptr<xmlParserCtxt, ParserCtxtFree>;

struct SchemaValidCtxtFree {
  void operator()(xmlSchemaValidCtxt* v) const { xmlSchemaFreeValidCtxt(v); }
};
using SchemaValidCtxtPtr = std::unique_ptr<xmlSchemaValidCtxt, SchemaValidCtxtFree>;

// Options of every parse: no network, no external entities or DTDs (so a document cannot make the library
// read other files), no limit on line numbers in messages.
inline constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_BIG_LINES;

// One message of libxml2, as it reports a parse or validation problem.
struct LibxmlMessage {
  int code = 0;
  int line = 0;
  int column = 0;
  bool fatal = false;  // a fatal error: the document is not well-formed
  std::string path;    // the element a validation message is about ("/Root/Delete[2]/UUID"), when known
  std::string text;    // without the trailing line break
};

LibxmlMessage ToMessage(const xmlError& error);

// Collects the messages libxml2 raises on this thread while it lives, so that none goes to stderr; the
// previous handler comes back at the end of the scope.
class LibxmlErrors {
 public:
  LibxmlErrors();
  ~LibxmlErrors();
  LibxmlErrors(const LibxmlErrors&) = delete;
  LibxmlErrors& operator=(const LibxmlErrors&) = delete;

  // Adds a message of the component's own (a problem found before libxml2 saw the text).
  void Add(std::string text) { messages_.push_back(LibxmlMessage{0, 0, 0, true, {}, std::move(text)}); }
  const std::vector<LibxmlMessage>& messages() const { return messages_; }
  bool empty() const { return messages_.empty(); }
  // Every message as "line N: text" (or "<element path>: text" for a document built in memory), one per
  // line (CR LF between them).
  std::string Text() const;

 private:
  static void collect(void* self, xmlError* error);

  std::vector<LibxmlMessage> messages_;
  xmlStructuredErrorFunc previousHandler_;
  void* previousContext_;
};

// Whether a parse may replace a reference to an entity of this type (xmlEntityType) by its text: only
// when the document's own DTD gives the text, never when it lives outside the file, so that a document
// cannot make the library read other files (a reference to it is undeclared). libxml2's own limits stop
// an entity whose uses grow too large.
bool IsOwnEntity(int type);
// The parser's entity of that name, when it is one a reference may be replaced with.
xmlEntity* OwnEntity(xmlParserCtxt* ctxt, const xmlChar* name);

// A parse of UTF-8 text from memory. The text is the process's own UTF-8, so a declaration naming another
// encoding (the batch documents say "UTF-16") is ignored. With XML_PARSE_NOENT among the options only the
// document's own entities are replaced (IsOwnEntity). Null on failure, the reasons in `errors`.
DocPtr ParseText(std::string_view text, LibxmlErrors& errors, int extraOptions = 0);

// The markup of a node exactly as stored: no indentation added, text escaped as XML needs.
std::string SerializeNode(xmlNode* node);

// The text content of a node (all its text descendants).
std::string NodeText(const xmlNode* node);

inline const char* Chars(const xmlChar* s) { return reinterpret_cast<const char*>(s); }
inline const xmlChar* XmlChars(const std::string& s) { return reinterpret_cast<const xmlChar*>(s.c_str()); }

// The first character XML cannot carry, kNotUtf8 where the text is no valid UTF-8, 0 when all is well.
inline constexpr char32_t kNotUtf8 = 0x110000;
char32_t FirstNonXmlChar(std::string_view text);

}  // namespace quillane::xml_detail
