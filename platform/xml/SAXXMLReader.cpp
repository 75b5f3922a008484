#include "platform/xml/SAXXMLReader.h"

#include <libxml/SAX2.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <fstream>
#include <functional>
#include <vector>

#include "platform/automation/errors.h"
#include "platform/xml/libxml_support.h"

namespace quillane {
namespace {

using xml_detail::Chars;

constexpr const char* kSaxSource = "MSXML2.SAXXMLReader.3.0";
constexpr std::int32_t kCannotOpen = static_cast<std::int32_t>(0x800C0005u);
constexpr std::size_t kChunkSize = 64 * 1024;

std::string text(const xmlChar* s) { return s ? Chars(s) : std::string(); }

std::string qualified(const xmlChar* prefix, const xmlChar* localName) {
  return prefix ? text(prefix) + ":" + text(localName) : text(localName);
}

// Without entity substitution (which would let a document pull in other files) the parser hands an
// ampersand inside an attribute value on as "&#38;"; every other reference is already resolved.
std::string attributeValue(const xmlChar* begin, const xmlChar* end) {
  std::string value(Chars(begin), static_cast<std::size_t>(end - begin));
  for (std::size_t at = value.find("&#38;"); at != std::string::npos; at = value.find("&#38;", at + 1))
    value.replace(at, 5, "&");
  return value;
}

class Attributes : public ISAXAttributes {
 public:
  struct Attribute {
    std::string uri, localName, qName, value;
  };
  std::vector<Attribute> list;

  std::int32_t getLength() const override { return static_cast<std::int32_t>(list.size()); }
  const std::string& getURI(std::int32_t i) const override { return at(i).uri; }
  const std::string& getLocalName(std::int32_t i) const override { return at(i).localName; }
  const std::string& getQName(std::int32_t i) const override { return at(i).qName; }
  const std::string& getValue(std::int32_t i) const override { return at(i).value; }

 private:
  const Attribute& at(std::int32_t i) const {
    if (i < 0 || i >= getLength()) throw vbError(VbError::InvalidProcedureCall, kSaxSource);
    return list[static_cast<std::size_t>(i)];
  }
};

class Locator : public ISAXLocator {
 public:
  xmlParserCtxt* ctxt = nullptr;
  std::int32_t getLineNumber() const override { return ctxt ? xmlSAX2GetLineNumber(ctxt) : 0; }
  std::int32_t getColumnNumber() const override { return ctxt ? xmlSAX2GetColumnNumber(ctxt) : 0; }
};

// The state of one parse, which libxml2 hands back to every callback. A callback runs the handler inside
// a try block: libxml2 is C and must never be unwound through, so an exception is kept here, the parser
// is stopped, and the exception is rethrown once libxml2 has returned.
struct Parse {
  ISAXContentHandler* content = nullptr;
  ISAXErrorHandler* errors = nullptr;
  Locator locator;
  std::exception_ptr exception;
  bool fatal = false;
  xml_detail::LibxmlMessage firstFatal;
  struct OpenElement {
    std::string qName;
    std::vector<std::string> declaredPrefixes;
  };
  std::vector<OpenElement> open;
  bool sawElement = false;
  bool emptyInput = false;

  bool active() const { return !exception && !fatal; }

  template <class F>
  void call(F&& f) {
    if (!active()) return;
    try {
      f();
    } catch (...) {
      exception = std::current_exception();
      xmlStopParser(locator.ctxt);
    }
  }
};

Parse& state(void* ctx) { return *static_cast<Parse*>(ctx); }

void onStartDocument(void* ctx) {
  Parse& p = state(ctx);
  p.call([&] {
    if (p.content) {
      p.content->putDocumentLocator(p.locator);
      p.content->startDocument();
    }
  });
}

void onEndDocument(void* ctx) {
  Parse& p = state(ctx);
  p.call([&] {
    if (p.content) p.content->endDocument();
  });
}

// Attributes that the file's DTD adds by default (libxml2 puts them last) are left out: a reader of the
// whole file does not see them either, and the file's records must read the same both ways.
void onStartElement(void* ctx, const xmlChar* localName, const xmlChar* prefix, const xmlChar* uri,
                    int namespaceCount, const xmlChar** namespaces, int attributeCount, int defaulted,
                    const xmlChar** attributes) {
  Parse& p = state(ctx);
  p.call([&] {
    p.sawElement = true;
    Parse::OpenElement& element = p.open.emplace_back(Parse::OpenElement{qualified(prefix, localName), {}});
    if (!p.content) return;
    for (int i = 0; i < namespaceCount; ++i) {
      element.declaredPrefixes.push_back(text(namespaces[2 * i]));
      p.content->startPrefixMapping(element.declaredPrefixes.back(), text(namespaces[2 * i + 1]));
    }
    Attributes list;
    for (int i = 0; i < attributeCount - defaulted; ++i) {
      const xmlChar** a = attributes + 5 * i;
      list.list.push_back({text(a[2]), text(a[0]), qualified(a[1], a[0]), attributeValue(a[3], a[4])});
    }
    p.content->startElement(text(uri), text(localName), qualified(prefix, localName), list);
  });
}

void onEndElement(void* ctx, const xmlChar* localName, const xmlChar* prefix, const xmlChar* uri) {
  Parse& p = state(ctx);
  p.call([&] {
    std::vector<std::string> declared;
    if (!p.open.empty()) {
      declared = std::move(p.open.back().declaredPrefixes);
      p.open.pop_back();
    }
    if (!p.content) return;
    p.content->endElement(text(uri), text(localName), qualified(prefix, localName));
    for (const std::string& declaredPrefix : declared) p.content->endPrefixMapping(declaredPrefix);
  });
}

void onCharacters(void* ctx, const xmlChar* chars, int length) {
  Parse& p = state(ctx);
  p.call([&] {
    if (p.content) p.content->characters(std::string(Chars(chars), static_cast<std::size_t>(length)));
  });
}

void onProcessingInstruction(void* ctx, const xmlChar* target, const xmlChar* data) {
  Parse& p = state(ctx);
  p.call([&] {
    if (p.content) p.content->processingInstruction(text(target), text(data));
  });
}

void onReference(void* ctx, const xmlChar* name) {
  Parse& p = state(ctx);
  p.call([&] {
    if (p.content) p.content->skippedEntity(text(name));
  });
}

void onError(void* ctx, xmlError* error) {
  Parse& p = state(ctx);
  if (!error || !p.active()) return;
  xml_detail::LibxmlMessage m = xml_detail::ToMessage(*error);
  // Fed in chunks, the parser only learns at the end that the data stopped, and then says "extra content"
  // whatever the case; say what really happened, as a parse of the whole file would.
  if (m.code == XML_ERR_DOCUMENT_END && !p.open.empty()) m.text = "Premature end of data in tag " + p.open.back().qName;
  else if (m.code == XML_ERR_DOCUMENT_END && !p.sawElement) m.text = "Document is empty";
  else if (m.code == XML_ERR_DOCUMENT_EMPTY && !p.emptyInput) m.text = "Start tag expected, '<' not found";
  std::string message = m.line > 0 ? "line " + std::to_string(m.line) + ": " + m.text : m.text;
  p.call([&] {
    if (!p.errors) return;
    if (m.fatal) p.errors->fatalError(p.locator, message, m.code);
    else if (error->level == XML_ERR_WARNING) p.errors->ignorableWarning(p.locator, message, m.code);
    else p.errors->error(p.locator, message, m.code);
  });
  if (m.fatal && !p.fatal) {
    p.fatal = true;
    p.firstFatal = m;
    p.firstFatal.text = message;
    xmlStopParser(p.locator.ctxt);
  }
}

// The entities the file's own DTD declares are expanded wherever they are used, as a reader of the whole
// file expands them; without this lookup libxml2 finds none of them and reports each use as undeclared.
// An entity declared to live outside the file is never looked up (OwnEntity).
xmlEntity* onGetEntity(void* ctx, const xmlChar* name) { return xml_detail::OwnEntity(state(ctx).locator.ctxt, name); }

// A SAX parse builds no document, except one: libxml2 keeps the entities that an internal DTD declares
// in a document of its own (myDoc), which freeing the context leaves behind.
struct SaxCtxtFree {
  void operator()(xmlParserCtxt* c) const {
    if (c->myDoc) xmlFreeDoc(c->myDoc);
    xmlFreeParserCtxt(c);
  }
};
using SaxCtxtPtr = std::unique_ptr<xmlParserCtxt, SaxCtxtFree>;

xmlSAXHandler makeHandler() {
  xmlSAXHandler h{};
  h.initialized = XML_SAX2_MAGIC;
  h.startDocument = onStartDocument;
  h.endDocument = onEndDocument;
  h.startElementNs = onStartElement;
  h.endElementNs = onEndElement;
  h.characters = onCharacters;
  h.cdataBlock = onCharacters;
  // Without a DTD no whitespace is ignorable; the libxml2 default reports it as characters too.
  h.ignorableWhitespace = onCharacters;
  h.processingInstruction = onProcessingInstruction;
  h.reference = onReference;
  h.getEntity = onGetEntity;
  h.serror = onError;
  return h;
}

}  // namespace

void SAXXMLReader::parseURL(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw AutomationError(kCannotOpen, kSaxSource, "The file " + path + " cannot be opened: " + std::strerror(errno));
  std::vector<char> chunk(kChunkSize);
  parseChunks(path, 0, [&] {
    file.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    if (file.bad())
      throw AutomationError(kCannotOpen, kSaxSource, "The file " + path + " cannot be read: " + std::strerror(errno));
    return std::string_view(chunk.data(), static_cast<std::size_t>(file.gcount()));
  });
}

void SAXXMLReader::parseText(std::string_view text) {
  parseChunks("", XML_PARSE_IGNORE_ENC, [&text] {
    std::string_view piece = text.substr(0, kChunkSize);
    text.remove_prefix(piece.size());
    return piece;
  });
}

void SAXXMLReader::parseChunks(const std::string& name, int extraOptions, const std::function<std::string_view()>& next) {
  // The parser's messages go to the error handler; the few libxml2 raises outside the parser (bytes that
  // the file's encoding cannot convert, before the parser's own fatal error) would go to stderr.
  xml_detail::LibxmlErrors outsideTheParser;

  Parse p;
  p.content = content_.get();
  p.errors = errors_.get();
  xmlSAXHandler handler = makeHandler();
  std::string_view piece = next();
  p.emptyInput = piece.empty();
  // The first bytes tell the parser the encoding (a byte-order mark, or the declaration's first bytes).
  std::size_t head = std::min<std::size_t>(piece.size(), 4);
  SaxCtxtPtr ctxt(xmlCreatePushParserCtxt(&handler, &p, piece.data(), static_cast<int>(head),
                                          name.empty() ? nullptr : name.c_str()));
  if (!ctxt) throw std::bad_alloc();
  // Entities are replaced by their text (only the document's own are found: onGetEntity).
  xmlCtxtUseOptions(ctxt.get(), xml_detail::kParseOptions | XML_PARSE_NOENT | extraOptions);
  p.locator.ctxt = ctxt.get();

  piece.remove_prefix(head);
  for (;;) {
    // A piece shorter than a chunk is the last one; an input of whole chunks ends with an empty piece.
    const bool last = piece.size() + head < kChunkSize;
    xmlParseChunk(ctxt.get(), piece.data(), static_cast<int>(piece.size()), last ? 1 : 0);
    if (last || !p.active()) break;
    piece = next();
    head = 0;
  }
  ctxt.reset();

  if (p.exception) std::rethrow_exception(p.exception);
  if (p.fatal && !errors_) throw AutomationError(p.firstFatal.code, kSaxSource, name + ": " + p.firstFatal.text);
}

}  // namespace quillane
