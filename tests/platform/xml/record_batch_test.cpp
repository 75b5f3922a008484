// A batch its importer refuses whole goes again in smaller documents, so that only the records the
// importer refuses on their own fail; a fault of what every document repeats leaves the batch refused.
#include "platform/xml/record_batch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillane {
namespace {

// An importer that refuses, without handling any record, a document holding a record marked "bad" or
// opened by a header marked so; it handles the others whole. A document of no bad record that holds
// "stop" ends with a storage fault.
struct FakeImporter {
  std::vector<std::string> documents;
  DocumentOutcome operator()(const std::string& document) {
    documents.push_back(document);
    DocumentOutcome outcome;
    const bool bad = document.find("bad") != std::string::npos;
    outcome.stopped = !bad && document.find("stop") != std::string::npos;
    outcome.ok = !bad && !outcome.stopped;
    outcome.handledRecords = outcome.ok || outcome.stopped;
    outcome.error = outcome.ok ? "" : outcome.stopped ? "storage\r\n" : "refused\r\n";
    return outcome;
  }
};

struct Built {
  std::string text;
  RecordBatch batch;
};
Built batchOf(const std::vector<std::string>& records) {
  Built built;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const std::size_t begin = built.text.size();
    built.text += "<R>" + records[i] + "</R>";
    built.batch.Add(begin, built.text.size(), "#" + std::to_string(i + 1));
    built.text += "\n";
  }
  return built;
}

TEST(RecordBatchTest, OnlyTheRecordsARefusedBatchCannotTakeAloneFail) {
  struct Case {
    const char* name;
    std::string header;
    std::vector<std::string> records;
    std::vector<std::string> failedAlone;
    std::string lines;
    std::vector<std::string> arrived;  // the records of the documents the importer took
  };
  std::vector<std::string> hundred(100, "ok");
  hundred[37] = "bad";
  hundred[90] = "bad";
  const Case cases[] = {
      {"a batch taken whole", "<H>", {"a", "b", "c"}, {}, "", {"a", "b", "c"}},
      {"one bad record among three", "<H>", {"a", "bad", "c"}, {"#2"}, "#2: refused", {"a", "c"}},
      {"every record bad", "<H>", {"bad", "bad"}, {"#1", "#2"}, "#1: refused\r\n#2: refused", {}},
      {"a refused header leaves the batch refused whole", "<Hbad>", {"a", "b"}, {}, "refused", {}},
      {"a storage fault ends the batch", "<H>", {"a", "bad", "stop", "d", "e"}, {"#2"}, "#2: refused\r\nstorage", {"a"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Built built = batchOf(c.records);
    FakeImporter importer;
    std::vector<std::string> failed;
    const std::string lines =
        ImportBatch(c.header + built.text + "</H>", built.batch, {built.text, c.header, "</H>"},
                    [&](const std::string& document) { return importer(document); },
                    [&](const std::string& name, const std::string& error) {
                      failed.push_back(name);
                      return name + ": " + error;
                    });
    EXPECT_EQ(failed, c.failedAlone);
    EXPECT_EQ(lines, c.lines);
    std::vector<std::string> arrived;
    const std::vector<std::string> documents = importer.documents;
    for (const std::string& document : documents)
      if (importer(document).ok)
        for (std::size_t at = document.find("<R>"); at != std::string::npos; at = document.find("<R>", at + 1))
          arrived.push_back(document.substr(at + 3, document.find("</R>", at) - at - 3));
    EXPECT_EQ(arrived, c.arrived);
  }

  // Two bad records among a hundred cost a few documents, not one a record.
  Built built = batchOf(hundred);
  FakeImporter importer;
  std::vector<std::string> failed;
  ImportBatch("<H>" + built.text + "</H>", built.batch, {built.text, "<H>", "</H>"},
              [&](const std::string& document) { return importer(document); },
              [&](const std::string& name, const std::string&) {
                failed.push_back(name);
                return name;
              });
  EXPECT_EQ(failed, (std::vector<std::string>{"#38", "#91"}));
  EXPECT_LT(importer.documents.size(), 40u);
}

}  // namespace
}  // namespace quillane
