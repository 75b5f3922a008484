// What the facade reads of the import of custom item classes besides its public members. ErrorCount of
// clsItemClass counts the failed items of the last class whose items were imported; a facade that adds
// up the batches of a large file needs every failed item of each batch once, whatever classes the batch
// holds and whether it held items at all.
#pragma once

#include <cstdint>

#include "exchange/modFunction_import.h"

namespace quillane {

class CustomClassImportTally {
 public:
  virtual ~CustomClassImportTally() = default;
  // The items that failed in the object's last Import, over all its classes; 0 for an Import that
  // imported no item.
  virtual std::int32_t FailedItemsOfLastImport() const = 0;
  // What the object's last Import did with all its items, over all its classes.
  virtual const modFunction::ImportCounts& ItemCountsOfLastImport() const = 0;
};

}  // namespace quillane
