// "MSXML2.DOMDocument.3.0": an XML document loaded whole, with the members the library calls.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/xml/DOMNode.h"

namespace quillane {

// What went wrong in the last load: errorCode 0 and an empty reason after a successful one.
class DOMParseError : public AutomationObject {
 public:
  std::int32_t errorCode() const { return errorCode_; }
  std::string reason() const { return reason_; }
  std::int32_t line() const { return line_; }
  std::int32_t linepos() const { return linepos_; }

  void set(std::int32_t errorCode, std::string reason, std::int32_t line, std::int32_t linepos);

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "IXMLDOMParseError"; }

 private:
  std::int32_t errorCode_ = 0;
  std::string reason_;
  std::int32_t line_ = 0;
  std::int32_t linepos_ = 0;
};

// Loading never raises: a failure gives False, an empty document and the reason in parseError.
// Whitespace-only text between elements is dropped on loading, as the DOM does unless told otherwise.
class DOMDocument : public DOMNode {
 public:
  DOMDocument();

  // Loads a file in the encoding it declares or its byte-order mark shows (UTF-8, UTF-16 LE or BE...).
  bool load(const std::string& path);
  // Loads the text; a declaration naming another encoding is ignored, since the text is UTF-8 already.
  bool loadXML(const std::string& text);
  // Writes the document as UTF-8 with a declaration that says so; raises error 70 (naming the file) when
  // the file cannot be written.
  void save(const std::string& path) const;
  // The XML declaration (without encoding) when the loaded text had one, then each top-level node, each
  // followed by CR LF; an empty text for an empty document.
  std::string xml() const override;
  std::shared_ptr<DOMNode> documentElement() const;
  std::shared_ptr<DOMParseError> parseError() const { return parseError_; }

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "DOMDocument"; }

 private:
  bool adopt(xml_detail::DocPtr doc, bool hasDeclaration, const xml_detail::LibxmlErrors& errors);
  void reset();

  std::shared_ptr<DOMParseError> parseError_ = std::make_shared<DOMParseError>();
};

}  // namespace quillane
