// "Q7ClassExchangeWizard.ClassExchange": the ERP's class-exchange component, which moves the item data
// of one item class through a bulk file. The file is the library's stitched bulk format: UTF-16 LE with
// a byte-order mark, one Root holding the records of every page. The component drives the item type's
// own public class by ProgID, as an outside component would: pages out of it through Export and
// batches of a large file into it through Import, reading the file with the SAX reader so that memory
// stays flat whatever its size.
//
// Event: Progress(lCur, lTotal, bCancel), relayed from the item class; bCancel by reference, True stops
// the file work after the current record.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/automation/object.h"
#include "platform/xml/TrzRecord.h"
#include "platform/xml/TrzRecords.h"

namespace quillane::erp {

inline constexpr const char* kClassExchangeProgID = "Q7ClassExchangeWizard.ClassExchange";

class ClassExchange : public AutomationObject {
 public:
  static constexpr DispId kProgress = 1;
  // Records per page of the export and per batch of the import.
  static constexpr std::int32_t kPageSize = 100;

  // Writes every record of item class lItemClassID above strTimeStamp (empty: all) that meets
  // strFilter (empty: every record) into strFile, replacing it; strMaxTimeStamp comes back as the
  // class's highest stamp. True when the file holds the whole class; False after a cancel (the file then
  // holds the records up to it, well-formed). A page export that fails (a filter the database refuses)
  // raises its error text and leaves no file. The other arguments are the caller's positional values
  // and are not used.
  bool ExportToFile(std::string strPropsString, std::int32_t lItemClassID, std::int32_t lItemClassID2,
                    std::string strFilter, std::string strUnused2, std::int32_t lKind, std::string strUnused3,
                    std::int32_t lMode, std::string strFile, std::int32_t lUnused1, std::int32_t lUnused2,
                    std::string strTimeStamp, std::string& strMaxTimeStamp,
                    std::shared_ptr<TrzRecords>& vectRecords, std::shared_ptr<TrzRecords>& vectUnused);

  // Imports strFile into the item class its Root names, in batches. recOptions (may be null) holds the
  // caller's options, each optional: ItemClassID, the class the caller means, so that a file of another
  // class is refused before anything is written; HaveInterFace, AddNewOnly and CheckByUUID, handed to
  // the item class as the caller set them. Raises nothing: when anything failed, vectRecords holds, as
  // its first entry, a data vector of the error texts (each batch's error lines, then the error that
  // stopped the file). lFailed comes back as the number of records that failed (the item class's
  // ErrorCount summed over the batches), and v2 as a vector of what each batch's import did with its
  // records (the item class's ImportCounts). Returns no object.
  ObjectRef ImportFromFile(std::string strPropsString, std::int32_t lMode, std::string strFile,
                           std::string strUnused, std::shared_ptr<TrzRecord>& recOptions,
                           std::shared_ptr<TrzRecords>& vectRecords, Variant& lFailed, Variant& v2, Variant& v3,
                           Variant& v4, std::shared_ptr<TrzRecord>& recUnused2, Variant& v5, Variant& v6,
                           Variant& v7, Variant& v8);

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "ClassExchange"; }

 private:
  // The item type's public class, its Progress relayed to this object's sinks.
  ObjectRef createItemType(const std::string& progID, bool& cancelled);
};

}  // namespace quillane::erp
