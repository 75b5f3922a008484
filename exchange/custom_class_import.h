// What the facade reads of and tells the import of custom item classes besides its public members.
// ErrorCount of clsItemClass counts the failed items of the last class whose items were imported; a
// facade that adds up the batches of a large file needs every failed item of each batch once, whatever
// classes the batch holds and whether it held items at all. And a large file's class comes in several
// batches, each a document of its own: what was decided about the class in its first batch must hold for
// the others.
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
  // From now on the object's Imports are the batches of one file: a class that one of them created,
  // found or left out is taken as such in the later ones, without a second question or a second class.
  virtual void TakeImportsAsBatchesOfOneFile() = 0;
};

}  // namespace quillane
