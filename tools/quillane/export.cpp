#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "exchange/mdlLanguage.h"
#include "tools/quillane/commands.h"
#include "tools/quillane/counts.h"
#include "tools/quillane/data_types.h"
#include "tools/quillane/documents.h"
#include "tools/quillane/facade.h"
#include "tools/quillane/files.h"
#include "tools/quillane/props.h"
#include "tools/quillane/report.h"
#include "tools/quillane/tally.h"

namespace quillane::cli {

int Export(const CommandLine& line, bool keys) {
  std::string props = PropsOf(line);
  std::int32_t lIO = DataTypeOf(line);
  std::int32_t perCount = NumberOption(line, "per-count", 100);
  std::string since = line.value("since").value_or("");
  // Custom item classes go by their names: a bulk file through the facade, a page through the class.
  const bool custom = lIO == kCustomItemClasses && !keys;
  const Variant what = custom ? Variant(ItemClassNamesOf(line)) : Variant(lIO);
  ObjectRef facade = custom && !line.value("bulk") ? MakeItemClasses(line) : MakeFacade(line);
  ProgressBar bar("export " + *line.value("type"), 0);

  RemoveUnkeptFilesOnInterrupt();
  if (auto bulk = line.value("bulk"); bulk && !keys) {
    if (auto db = line.value("db"); db && ProgressBar::Shown()) bar.SetTotal(BulkExportTotal(*db, lIO, since));
    Tally tally(facade, bar, false);
    const FileChange file(*bulk);
    std::vector<Variant> args{props, what, *bulk, perCount, since, std::string(), std::string()};
    // A file of custom item classes holds the classes that exported: a class named but missing from it
    // (no such class, not permitted, failed) makes the exit 2; no file at all, 1.
    bool missing = false;
    if (custom) {
      const bool ok = CBool(facade->Call("ExportCustIOToFile", args));
      const std::string error = CStr(args[6]);
      missing = !ok || !error.empty();
      // The facade writes nothing when no class may be exported, and the older file stays as it was.
      if (missing && !file.Replaced()) throw std::runtime_error(FailureText(error, "ExportCustIOToFile"));
      PrintErrors(error);
    } else {
      CallOrFail(facade, "ExportPreIOToFile", args, 6);
    }
    bar.Finish();
    // The records the file holds, as an import counts them: the Progress events of a call may count
    // more (the auxiliary properties of goods raise one more for their classes). The file holds
    // everything up to the highest stamp: that stamp is where a later export starts.
    const std::int32_t records = ScanBulkFile(*bulk).records;
    std::cerr << "records: " << records << "\nhighest stamp: " << CStr(args[5]) << '\n';
    return missing ? 2 : 0;
  }
  Tally tally(facade, bar, true);
  std::vector<Variant> args{props, what, std::string(), perCount, since, std::string(), std::string()};
  CallOrFail(facade, keys ? "ExportXMLDataKey" : "Export", args, 6);
  bar.Finish();
  WriteOut(line, CStr(args[2]));
  // Deletion keys raise no events to count.
  if (!keys) std::cerr << "records: " << tally.records << '\n';
  std::cerr << "next stamp: " << CStr(args[4]) << "\nhighest stamp: " << CStr(args[5]) << '\n';
  return 0;
}

}  // namespace quillane::cli
