// The batch splitter: the SAX reader's content and error handler for the import of a large exchange
// file. It writes the elements it is told about back into XML text and, every PerCount records, hands
// one complete document of those records (under a copy of the file's Root and, for custom item classes,
// of the class header) to its HandleXML event, so that the ordinary import can take it.
//
// Not creatable by ProgID: the file import makes one per parse, sets the members below, registers it as
// the reader's content and error handler, parses and reads strError back.
#pragma once

#include <cstdint>
#include <string>

#include "exchange/clsStringBuffer.h"
#include "platform/automation/object.h"
#include "platform/xml/bounded_record.h"
#include "platform/xml/record_batch.h"
#include "platform/xml/SAXXMLReader.h"

namespace quillane {

// The refusal of a file of custom item classes that holds elementName where a class belongs: a file
// of another data type. A small file read whole and a large one read in batches are refused alike,
// before anything is imported, with its description alone: one line, as a file of another item class
// is refused on its own road.
struct ForeignFileRefusal : AutomationError {
  explicit ForeignFileRefusal(const std::string& elementName);
};

class clsSAXParse : public AutomationObject, public ISAXContentHandler, public ISAXErrorHandler {
 public:
  // Events:
  //   HandleXML(strXML, strError): one batch document; text the handler leaves in strError (by
  //     reference) is collected, one line per batch, in the splitter's strError and the parse goes on.
  //   Progress(lCur, lTotal, bCancel): after each record, lCur counting within the batch and lTotal
  //     being PerCount; bCancel (by reference) True stops a normal-mode parse with an error. In
  //     custom mode only the answer to the Progress at the end of the document is acted on.
  //   RecordFailed(strLine): a record that no batch carries: its text passed the bound, or the file
  //     stopped being well-formed inside it. strLine names it; the splitter keeps it in strError too.
  static constexpr DispId kHandleXML = 1;
  static constexpr DispId kProgress = 2;
  static constexpr DispId kRecordFailed = 3;

  // ---- Set by the file import; the first three are read back by its batch handler ----
  bool bCustom = false;         // custom item classes: Root/ItemClass/Item documents
  std::string strPropsString;
  std::int32_t lIO = 0;
  std::string strICName;
  // The batches' error lines and the reader's errors of the whole parse.
  std::string strError;

  // Records per batch, 100 until set; below 1 raises error 5.
  void setPerCount(std::int32_t value);

  // While HandleXML runs: the records of its document, and the text they lie in with what opens and
  // closes the document, for an importer that refuses the whole document.
  const RecordBatch& Batch() const { return m_batch; }
  const std::string& BatchRecords() const { return m_batchText; }
  std::string BatchHeader() const;
  std::string BatchFooter() const;

  std::string className() const override { return "clsSAXParse"; }

  // ISAXContentHandler
  void startPrefixMapping(const std::string& prefix, const std::string& uri) override;
  void startElement(const std::string& namespaceURI, const std::string& localName, const std::string& qName,
                    const ISAXAttributes& attributes) override;
  void endElement(const std::string& namespaceURI, const std::string& localName, const std::string& qName) override;
  void characters(const std::string& chars) override;
  void endDocument() override;

  // ISAXErrorHandler
  void error(const ISAXLocator& locator, const std::string& message, std::int32_t code) override;
  void fatalError(const ISAXLocator& locator, const std::string& message, std::int32_t code) override;

 private:
  std::string startTag(const std::string& qName, const ISAXAttributes& attributes);
  // The text that the current element's content goes to: the batch, or in custom mode outside an item
  // the class header.
  void appendContent(const std::string& text);
  // Text of the record being read goes to the record until it ends; any other to appendContent.
  void gather(const std::string& text, bool isCharacters = false);
  // The record ends: its text joins the batch, or it is refused. True when it joined.
  bool endRecord();
  // Writes out a CR held back at the end of a piece of text, before anything but text follows it.
  void releaseHeldCR();
  void countRecord(bool actOnCancel);
  void recordFailed(const std::string& line);
  // Hands the buffered records on as one document: the Root (and in custom mode the class) opened by
  // its header and closed after them.
  void flush();
  bool raiseProgress();
  static std::string readerErrorLine(const std::string& message, std::int32_t code);
  void addReaderError(const std::string& message, std::int32_t code);

  std::int32_t m_perCount = 100;
  std::string m_rootHeader;
  std::string m_rootName = "Root";  // as the file writes it, with any prefix
  std::string m_className = "ItemClass";
  std::string m_classHeader;
  std::string m_recordName;
  std::string m_pendingNamespaces;  // declarations reported for the next start tag
  std::int32_t m_depth = 0;         // of the element being reported; Root is 1
  std::int32_t m_count = 0;
  bool m_inItem = false;
  bool m_heldCR = false;  // the last piece of text ended in a CR, not yet written
  clsStringBuffer m_buffer;
  RecordBatch m_batch;       // where the buffered records lie in m_buffer
  std::string m_batchText;   // the buffer's text while its batch is handed on
  BoundedRecord m_record;
};

}  // namespace quillane
