#include "platform/xml/record_batch.h"

namespace quillane {
namespace {

std::string withoutBreakAtEnd(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

void addLines(std::string& lines, std::string text) {
  text = withoutBreakAtEnd(std::move(text));
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

// The records [first, last) of a batch that went in one document the importer refused whole: each half
// goes in a document of its own, and a half refused whole is halved again, until a refused document
// holds one record, which fails alone. So one bad record among many costs a few documents, not one
// per record. False once a storage fault ended an import.
struct Apart {
  const RecordBatch& batch;
  const BatchText& text;
  const std::function<DocumentOutcome(const std::string& document)>& importDocument;
  const std::function<std::string(const std::string& name, const std::string& error)>& failAlone;
  std::string lines;

  bool import(std::size_t first, std::size_t last) {
    for (auto [from, to] : {std::pair{first, first + (last - first) / 2}, std::pair{first + (last - first) / 2, last}}) {
      if (from == to) continue;
      const std::vector<RecordBatch::Record>& records = batch.Records();
      const std::size_t begin = records[from].begin, end = records[to - 1].end;
      DocumentOutcome outcome = importDocument(documentOf(text, text.records.substr(begin, end - begin)));
      if (!refusedWhole(outcome)) addLines(lines, std::move(outcome.error));
      else if (to - from == 1) addLines(lines, failAlone(records[from].name, withoutBreakAtEnd(outcome.error)));
      else if (!import(from, to)) return false;
      if (outcome.stopped) return false;
    }
    return true;
  }
};

}  // namespace

std::string ImportBatch(const std::string& document, const RecordBatch& batch, const BatchText& text,
                        const std::function<DocumentOutcome(const std::string& document)>& importDocument,
                        const std::function<std::string(const std::string& name, const std::string& error)>& failAlone) {
  DocumentOutcome whole = importDocument(document);
  if (!refusedWhole(whole) || batch.Empty() || refusedWhole(importDocument(documentOf(text, "")))) {
    std::string lines;
    addLines(lines, std::move(whole.error));
    return lines;
  }
  Apart apart{batch, text, importDocument, failAlone, {}};
  apart.import(0, batch.Records().size());
  return apart.lines;
}

}  // namespace quillane
