// The SAX reader: reads an XML file in chunks and reports it to a content handler and an error handler
// with the calls and arguments the DOM's SAX interfaces use. Memory stays flat whatever the file size:
// nothing of the document is kept beyond the element being reported.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace quillane {

// Where the reader is in the document while it calls a handler.
class ISAXLocator {
 public:
  virtual ~ISAXLocator() = default;
  virtual std::int32_t getLineNumber() const = 0;
  virtual std::int32_t getColumnNumber() const = 0;
};

// The attributes of one start tag, in document order; namespace declarations are not among them (they
// are reported as prefix mappings). An index outside 0 to getLength() - 1 raises error 5.
class ISAXAttributes {
 public:
  virtual ~ISAXAttributes() = default;
  virtual std::int32_t getLength() const = 0;
  virtual const std::string& getURI(std::int32_t index) const = 0;
  virtual const std::string& getLocalName(std::int32_t index) const = 0;
  virtual const std::string& getQName(std::int32_t index) const = 0;
  virtual const std::string& getValue(std::int32_t index) const = 0;
};

// Texts arrive unescaped, as UTF-8. `characters` may come in several pieces for one run of text. Every
// call does nothing unless overridden. A handler may throw: the parse stops at once and parse/parseURL
// rethrow the exception after the reader has cleaned up.
class ISAXContentHandler {
 public:
  virtual ~ISAXContentHandler() = default;
  virtual void putDocumentLocator(const ISAXLocator& locator) { (void)locator; }
  virtual void startDocument() {}
  virtual void endDocument() {}
  virtual void startPrefixMapping(const std::string& prefix, const std::string& uri) { (void)prefix, (void)uri; }
  virtual void endPrefixMapping(const std::string& prefix) { (void)prefix; }
  virtual void startElement(const std::string& namespaceURI, const std::string& localName, const std::string& qName,
                            const ISAXAttributes& attributes) {
    (void)namespaceURI, (void)localName, (void)qName, (void)attributes;
  }
  virtual void endElement(const std::string& namespaceURI, const std::string& localName, const std::string& qName) {
    (void)namespaceURI, (void)localName, (void)qName;
  }
  virtual void characters(const std::string& chars) { (void)chars; }
  virtual void ignorableWhitespace(const std::string& chars) { (void)chars; }
  virtual void processingInstruction(const std::string& target, const std::string& data) { (void)target, (void)data; }
  virtual void skippedEntity(const std::string& name) { (void)name; }
};

// `code` is the parser's number of the problem, `message` its description with the line.
class ISAXErrorHandler {
 public:
  virtual ~ISAXErrorHandler() = default;
  virtual void error(const ISAXLocator& locator, const std::string& message, std::int32_t code) {
    (void)locator, (void)message, (void)code;
  }
  // The document is not well-formed. The reader stops after this call, and endDocument is not called.
  virtual void fatalError(const ISAXLocator& locator, const std::string& message, std::int32_t code) {
    (void)locator, (void)message, (void)code;
  }
  virtual void ignorableWarning(const ISAXLocator& locator, const std::string& message, std::int32_t code) {
    (void)locator, (void)message, (void)code;
  }
};

class SAXXMLReader {
 public:
  void putContentHandler(std::shared_ptr<ISAXContentHandler> handler) { content_ = std::move(handler); }
  void putErrorHandler(std::shared_ptr<ISAXErrorHandler> handler) { errors_ = std::move(handler); }

  // Parses the file at path (any encoding its declaration or byte-order mark names, UTF-16 LE with a BOM
  // included). A file that cannot be opened raises an error naming it. A document that is not well-formed
  // goes to the error handler's fatalError and the parse returns normally; without an error handler it
  // raises an error with the parser's message. An exception from a handler is rethrown here.
  void parseURL(const std::string& path);
  // Parses a text of the process's own, UTF-8 whatever its declaration says, in pieces as a file is
  // read, so that nothing of it is copied whole; errors as parseURL reports them, without a file name.
  void parseText(std::string_view text);

 private:
  // The parse of both: next hands over the input piece by piece (empty at its end); extraOptions are
  // libxml2's, beside the reader's own.
  void parseChunks(const std::string& name, int extraOptions, const std::function<std::string_view()>& next);

  std::shared_ptr<ISAXContentHandler> content_;
  std::shared_ptr<ISAXErrorHandler> errors_;
};

}  // namespace quillane
