#include "exchange/clsSAXParse.h"

#include <utility>

#include "exchange/mdlLanguage.h"
#include "platform/automation/errors.h"
#include "platform/automation/vbtext.h"
#include "platform/xml/xml_markup.h"

namespace quillane {
namespace {

using mdlLanguage::LoadLangString;

constexpr const char* kSource = "Quillane.clsSAXParse";
// The missing record name has always been reported under this source; callers may compare it.
constexpr const char* kNotStandardSource = "Quillan.clsSAXParse";
constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-16\"?>";
constexpr const char* kRecordNameAttribute = "VelmoraNameSpace";
constexpr std::int32_t kRecordDepth = 2;
constexpr std::int32_t kClassDepth = 2;
constexpr std::int32_t kItemDepth = 3;

// Line breaks made of CR LF and NUL characters go, tabs become blanks.
std::string cleanedText(const std::string& chars) {
  std::string out;
  out.reserve(chars.size());
  for (std::size_t i = 0; i < chars.size(); ++i) {
    char c = chars[i];
    if (c == '\r' && i + 1 < chars.size() && chars[i + 1] == '\n') {
      ++i;
      continue;
    }
    if (c != '\0') out += c == '\t' ? ' ' : c;
  }
  return out;
}

[[noreturn]] void raiseCancelled() {
  throw AutomationError(kLibraryRefusal, kSource, LoadLangString("解析过程中被用户取消！"));
}

}  // namespace

ForeignFileRefusal::ForeignFileRefusal(const std::string& elementName)
    : AutomationError(kLibraryRefusal, "Tarnwick.clsExpImp",
                      LoadLangString("文件中的记录不属于所选的核算项目类别:") + elementName + " / ItemClass") {}

void clsSAXParse::setPerCount(std::int32_t value) {
  if (value < 1) throw vbError(VbError::InvalidProcedureCall);
  m_perCount = value;
}

void clsSAXParse::startPrefixMapping(const std::string& prefix, const std::string& uri) {
  m_pendingNamespaces += NamespaceDeclaration(prefix, uri);
}

std::string clsSAXParse::startTag(const std::string& qName, const ISAXAttributes& attributes) {
  return StartTag(qName, std::exchange(m_pendingNamespaces, std::string()), attributes);
}

void clsSAXParse::appendContent(const std::string& text) {
  if (!bCustom || m_inItem) return m_buffer.Append(text);
  m_classHeader += text;
  // Every batch of the class repeats its header: one beyond all bounds is refused with the file.
  if (m_classHeader.size() > BoundedRecord::kTextLimit)
    throw AutomationError(kLibraryRefusal, kSource, LoadLangString("自定义核算项目的定义超过了上限:") + m_className);
}

void clsSAXParse::gather(const std::string& text, bool isCharacters) {
  if (m_record.Open()) m_record.Append(text, isCharacters);
  else appendContent(text);
}

bool clsSAXParse::endRecord() {
  const bool refused = m_record.Overflowed();
  std::string text = m_record.Take();
  if (refused) {
    recordFailed(LoadLangString("记录的文本超过了上限，未导入:") + m_record.Identification());
    return false;
  }
  const std::size_t begin = m_buffer.Result().size();
  m_buffer.Append(text);
  m_batch.Add(begin, m_buffer.Result().size(), m_record.Name());
  return true;
}

void clsSAXParse::recordFailed(const std::string& line) {
  strError += line + "\r\n";
  RaiseEventWith("RecordFailed", kRecordFailed, line);
}

void clsSAXParse::startElement(const std::string&, const std::string& localName, const std::string& qName,
                               const ISAXAttributes& attributes) {
  releaseHeldCR();
  ++m_depth;
  if (m_depth == 1 && localName == "Root") {
    if (m_recordName.empty()) {
      for (std::int32_t i = 0; i < attributes.getLength(); ++i)
        if (SameText(attributes.getQName(i), kRecordNameAttribute)) {
          m_recordName = attributes.getValue(i);
          break;
        }
    }
    m_rootHeader = startTag(qName, attributes);
    m_rootName = qName;
    return;
  }
  if (bCustom && m_depth == kClassDepth && localName != "ItemClass") throw ForeignFileRefusal(localName);
  if (bCustom && m_depth == kClassDepth) {
    m_inItem = false;
    m_classHeader.clear();
    m_className = qName;
  } else if (bCustom && m_depth == kItemDepth && localName == "Item") {
    m_inItem = true;
    m_record.Begin(m_depth);
  } else if (!bCustom && m_depth == kRecordDepth && localName == m_recordName) {
    m_record.Begin(m_depth);
  }
  m_record.StartElement(m_depth, localName);
  gather(startTag(qName, attributes));
}

void clsSAXParse::characters(const std::string& chars) {
  // The reader hands a character reference on as a piece of its own, so "&#13;&#10;" arrives as CR,
  // then LF: a CR that ends a piece waits for the next one to tell whether it starts a pair.
  std::string text = m_heldCR ? "\r" + chars : chars;
  m_heldCR = !text.empty() && text.back() == '\r';
  if (m_heldCR) text.pop_back();
  gather(EscapeXml(cleanedText(text), false), true);
}

void clsSAXParse::releaseHeldCR() {
  if (!m_heldCR) return;
  m_heldCR = false;
  gather(EscapeXml("\r", false), true);
}

void clsSAXParse::endElement(const std::string&, const std::string& localName, const std::string& qName) {
  if (m_recordName.empty())
    throw AutomationError(kLibraryRefusal, kNotStandardSource, LoadLangString("该XML文档不符合维墨标准文档!"));
  releaseHeldCR();
  const std::int32_t depth = m_depth--;
  if (depth == 1) return;
  const std::string tag = "</" + qName + ">";
  m_record.EndElement(depth);
  if (!bCustom) {
    gather(tag);
    if (depth == kRecordDepth && localName == m_recordName && endRecord()) countRecord(true);
    return;
  }
  if (depth == kClassDepth) {
    // A batch never mixes two classes: the class's last records go out under its own header, in a
    // document of their own even when there are none, so that a class without items still arrives.
    flush();
    m_count = 0;
    m_inItem = false;
  } else if (!m_inItem) {
    m_classHeader += tag;
  } else {
    gather(tag);
    if (depth == kItemDepth && localName == "Item" && endRecord()) countRecord(false);
  }
}

void clsSAXParse::countRecord(bool actOnCancel) {
  ++m_count;
  if (raiseProgress() && actOnCancel) raiseCancelled();
  // A batch of large records goes out before it has PerCount of them, so that memory stays bounded.
  if (m_count < m_perCount && m_buffer.Result().size() < BoundedRecord::kBatchTextLimit) return;
  flush();
  m_count = 0;
}

bool clsSAXParse::raiseProgress() {
  bool bCancel = false;
  RaiseEventWith("Progress", kProgress, std::as_const(m_count), std::as_const(m_perCount), bCancel);
  return bCancel;
}

// The XML declaration, the Root's start tag and in custom mode the class header.
std::string clsSAXParse::BatchHeader() const {
  return kDeclaration + m_rootHeader + (bCustom ? m_classHeader : std::string());
}

// The elements are closed by the names they were opened with, a prefix included.
std::string clsSAXParse::BatchFooter() const {
  return (bCustom ? "</" + m_className + ">" : std::string()) + "</" + m_rootName + ">";
}

void clsSAXParse::flush() {
  m_batchText = m_buffer.Result();
  m_buffer.SetResult(std::string());
  const std::string document = BatchHeader() + std::string(Trim(m_batchText)) + BatchFooter();
  std::string batchError;
  RaiseEventWith("HandleXML", kHandleXML, document, batchError);
  m_batch.Clear();
  std::string().swap(m_batchText);
  if (!batchError.empty()) strError += batchError + "\r\n";
}

void clsSAXParse::endDocument() {
  releaseHeldCR();
  if (raiseProgress()) raiseCancelled();
  // In custom mode each class handed its last batch at its own end; a normal file's last batch goes out
  // here, even without records.
  if (!bCustom) flush();
}

std::string clsSAXParse::readerErrorLine(const std::string& message, std::int32_t code) {
  return LoadLangString("错误代码：") + std::to_string(code) + LoadLangString("  错误源：") + kSource +
         LoadLangString("  错误描述：") + message;
}

void clsSAXParse::addReaderError(const std::string& message, std::int32_t code) {
  strError += readerErrorLine(message, code) + "\r\n";
}

void clsSAXParse::error(const ISAXLocator&, const std::string& message, std::int32_t code) {
  addReaderError(message, code);
}

// The reader stops here: the complete records before the fault still go out, and a record the fault
// cut off fails alone.
void clsSAXParse::fatalError(const ISAXLocator&, const std::string& message, std::int32_t code) {
  if (!m_batch.Empty()) {
    flush();
    m_count = 0;
  }
  if (!m_record.Open()) return addReaderError(message, code);
  m_record.Take();
  recordFailed(readerErrorLine(message + " (" + LoadLangString("出错的记录：") + m_record.Name() + ")", code));
}

}  // namespace quillane
