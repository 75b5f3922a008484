// The records of one batch of a bulk file, each kept apart with what names it, and the import of such a
// batch. An importer that cannot read a document (its schema refuses one record of it, or the parse
// of one record fails) refuses the whole document and says nothing of the other records in it: the
// batch is then imported record by record, so that only the record the importer refuses on its own
// fails and the others arrive.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillane {

class RecordBatch {
 public:
  struct Record {
    std::size_t begin, end;  // in the batch's text
    std::string name;        // what a failure line says of the record
  };
  void Add(std::size_t begin, std::size_t end, std::string name) { records_.push_back({begin, end, std::move(name)}); }
  const std::vector<Record>& Records() const { return records_; }
  bool Empty() const { return records_.empty(); }
  void Clear() { records_.clear(); }

 private:
  std::vector<Record> records_;
};

// What became of one document handed to an importer.
struct DocumentOutcome {
  bool ok = false;
  // Whether the importer handled a record of the document (imported, skipped or failed one). An
  // importer that does not tell is taken to have handled them.
  bool handledRecords = true;
  // A storage fault ended the import: no later document is tried.
  bool stopped = false;
  std::string error;
};

// The text the records of a batch lie in, and what opens (from the XML declaration on) and closes each
// document of them.
struct BatchText {
  std::string_view records, header, footer;
};

// Imports the batch's document, which holds the records of batch. When the importer refused it without
// handling any record of it, the fault may lie in what every document of the batch repeats (the Root,
// a class header): a document of no records refused the same way leaves the batch refused whole, with
// its error. Otherwise the records go again in smaller documents, until each one the importer refuses
// holds one record; that record goes to failAlone with its name and the importer's error (without a
// line break at its end), which accounts for it and gives its line. Returns the error lines of the imports, joined by CR LF, without a break at the
// end.
std::string ImportBatch(const std::string& document, const RecordBatch& batch, const BatchText& text,
                        const std::function<DocumentOutcome(const std::string& document)>& importDocument,
                        const std::function<std::string(const std::string& name, const std::string& error)>& failAlone);

}  // namespace quillane
