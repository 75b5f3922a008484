#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "exchange/custom_class_import.h"
#include "exchange/mdlLanguage.h"
#include "tools/quillane/commands.h"
#include "tools/quillane/data_types.h"
#include "tools/quillane/documents.h"
#include "tools/quillane/facade.h"
#include "tools/quillane/props.h"
#include "tools/quillane/report.h"
#include "tools/quillane/tally.h"

namespace quillane::cli {

using mdlLanguage::LoadLangString;

int Import(const CommandLine& line) {
  std::string props = PropsOf(line);
  std::int32_t lIO = DataTypeOf(line);
  auto bulk = line.value("bulk"), in = line.value("in");
  if (!bulk && !in) throw std::runtime_error(LoadLangString("缺少选项 --in 或 --bulk"));

  // Custom item classes: a bulk file through the facade, a page through the class itself, which takes
  // no data type.
  const bool custom = lIO == kCustomItemClasses;
  ObjectRef facade = custom && !bulk ? MakeItemClasses(line) : MakeFacade(line);
  ProgressBar bar("import " + *line.value("type"), 0);
  std::vector<Variant> args;
  if (bulk) {
    RefuseFolder(*bulk);
    // The library reads the file once and alone, so that it may be a pipe: the bar counts without a
    // total, and where a broken file stops the import is said in the library's error text.
    args = {props, custom ? Variant(std::string()) : Variant(lIO), *bulk, std::int32_t{100}, std::string()};
  } else {
    args = {props, lIO, ReadPage(*in), std::string()};
    if (custom) args.erase(args.begin() + 1);
    // Left out, the argument takes its default: rows that are exported again from this account set.
    if (line.value("system-type")) args.push_back(NumberOption(line, "system-type", 1));
  }
  const char* member = !bulk ? "Import" : custom ? "ImportCustIOFromFile" : "ImportPreIOFromFile";
  Tally tally(facade, bar, !bulk);
  const bool ok = CBool(facade->Call(member, args));
  std::string error = CStr(args[bulk ? 4 : custom ? 2 : 3]);
  bar.Finish();

  const modFunction::ImportCounts counts = ImportCountsOf(facade);
  const std::int32_t failed = CLng(facade->Get("ErrorCount"));
  // A class record of custom item classes can fail on its own, apart from its items.
  const auto* classes = custom ? dynamic_cast<const FailedClassRecordsTally*>(facade.get()) : nullptr;
  const std::int32_t failedClasses = classes ? classes->FailedClassesOfLastImport() : 0;
  if (!ok) error = FailureText(error, member);
  PrintErrors(error);
  PrintErrors(tally.clashText);
  // A page's records, and those of auxiliary properties, are what the import counted: the events count
  // the records worked through, and none came for a record refused before the page was read (past the
  // bound of a record) or for the items of a class of auxiliary properties that failed whole. The
  // record a storage fault stopped at was read too, though nothing counted it.
  const bool counted = !bulk || lIO == kAuxProperties;
  const std::int32_t read = (counted ? counts.imported + counts.SkippedTotal() + counts.failed : tally.records) +
                            (counts.stoppedBy.empty() ? 0 : 1);
  PrintImportSummary(read, counts);
  if (failedClasses > 0) std::cerr << "item class records failed: " << failedClasses << '\n';
  if (tally.clashes > 0) std::cerr << "records clashing with an existing number: " << tally.clashes << '\n';
  // The storage failed, not the records: the import did not run to its end.
  if (!counts.stoppedBy.empty() || failedClasses > 0) return 1;
  if (failed > 0) return 2;
  return ok ? 0 : 1;
}

}  // namespace quillane::cli
