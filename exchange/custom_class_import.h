// What the callers of an import of custom item classes read of it and tell it besides the public
// members. ErrorCount counts failed items; a class record can also fail on its own (refused, rolled
// back whole), which no count of items shows. A facade that adds up the batches of a large file needs
// every failed item of each batch once, whatever classes the batch holds and whether it held items at
// all. And a large file's class comes in several batches, each a document of its own: what was decided
// about the class in its first batch must hold for the others.
#pragma once

#include <cstdint>

#include "exchange/modFunction_import.h"

namespace quillane {

class FailedClassRecordsTally {
 public:
  virtual ~FailedClassRecordsTally() = default;
  // The class records of the object's last import of custom classes that failed on their own, as
  // against those whose items alone failed.
  virtual std::int32_t FailedClassesOfLastImport() const = 0;
  // What the object's last import of custom classes did with all their items, over all its classes.
  virtual const modFunction::ImportCounts& ItemCountsOfLastImport() const = 0;
};

class CustomClassImportTally : public FailedClassRecordsTally {
 public:
  // The items that failed in the object's last Import, over all its classes; 0 for an Import that
  // imported no item.
  virtual std::int32_t FailedItemsOfLastImport() const = 0;
  // From now on the object's Imports are the batches of one file: a class that one of them created,
  // found or left out is taken as such in the later ones, without a second question or a second class.
  virtual void TakeImportsAsBatchesOfOneFile() = 0;
};

}  // namespace quillane
