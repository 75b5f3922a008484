#include "platform/xml/record_batch.h"

namespace quillane {
namespace {

void addLines(std::string& lines, std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  if (text.empty()) return;
  if (!lines.empty()) lines += "\r\n";
  lines += text;
}

std::string documentOf(const BatchText& text, std::string_view records) {
  std::string document;
  document.reserve(text.header.size() + records.size() + text.footer.size());
  return document.append(text.header).append(records).append(text.footer);
}

bool refusedWhole(const DocumentOutcome& outcome) { return !outcome.ok && !outcome.handledRecords && !outcome.stopped; }

}  // namespace

std::string ImportBatch(const std::string& document, const RecordBatch& batch, const BatchText& text,
                        const std::function<DocumentOutcome(const std::string& document)>& importDocument,
                        const std::function<std::string(const std::string& name, const std::string& error)>& failAlone) {
  DocumentOutcome whole = importDocument(document);
  std::string lines;
  if (!refusedWhole(whole) || batch.Empty() || refusedWhole(importDocument(documentOf(text, "")))) {
    addLines(lines, std::move(whole.error));
    return lines;
  }
  for (const RecordBatch::Record& record : batch.Records()) {
    DocumentOutcome alone = importDocument(documentOf(text, text.records.substr(record.begin, record.end - record.begin)));
    addLines(lines, refusedWhole(alone) ? failAlone(record.name, alone.error) : std::move(alone.error));
    if (alone.stopped) break;
  }
  return lines;
}

}  // namespace quillane
