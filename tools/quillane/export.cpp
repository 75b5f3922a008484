#include <iostream>
#include <string>
#include <vector>

#include "tools/quillane/commands.h"
#include "tools/quillane/counts.h"
#include "tools/quillane/data_types.h"
#include "tools/quillane/documents.h"
#include "tools/quillane/facade.h"
#include "tools/quillane/files.h"
#include "tools/quillane/props.h"
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

  if (auto bulk = line.value("bulk"); bulk && !keys) {
    if (auto db = line.value("db"); db && ProgressBar::Shown()) bar.SetTotal(BulkExportTotal(*db, lIO, since));
    Tally tally(facade, bar, false);
    ReplacingFile file(*bulk);
    std::vector<Variant> args{props, what, file.Path(), perCount, since, std::string(), std::string()};
    CallOrFail(facade, custom ? "ExportCustIOToFile" : "ExportPreIOToFile", args, 6);
    bar.Finish();
    // The records the file holds, as an import counts them: the Progress events of a call may count
    // more (the auxiliary properties of goods raise one more for their classes). The file holds
    // everything up to the highest stamp: that stamp is where a later export starts.
    const std::int32_t records = ScanBulkFile(file.Path()).records;
    file.Keep();
    std::cerr << "records: " << records << "\nhighest stamp: " << CStr(args[5]) << '\n';
    return 0;
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
