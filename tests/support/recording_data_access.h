// A data-access component for tests: put under "Fenwold.DataAccess" for the life of the object, it
// writes each call it receives into a log ("CreateData 2 15 detail=1 parent=0", "UpdateData 2 15
// parent=0": the item class or object type, the record, and the parent from ParentID or FParentID) and
// refuses the calls for one record when asked to.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/automation/automation.h"
#include "platform/erp/data_access.h"
#include "platform/xml/TrzRecord.h"

namespace quillane::testing {

class ScopedDataAccess {
 public:
  struct Log {
    std::vector<std::string> calls;
    std::int32_t refusedItemID = 0;  // CreateData and UpdateData of this FItemID raise
  };

  ScopedDataAccess() : override_(erp::kDataAccessProgID, [log = log_] { return std::make_shared<Recorder>(log); }) {}

  std::vector<std::string>& calls() { return log_->calls; }
  void refuseItem(std::int32_t lItemID) { log_->refusedItemID = lItemID; }

 private:
  class Recorder : public AutomationObject {
   public:
    explicit Recorder(std::shared_ptr<Log> log) : log_(std::move(log)) {}
    const DispatchTable& dispatchTable() const override {
      static const DispatchTable table =
          DispatchBuilder<Recorder>()
              .raw("CreateData", 1, InvokeKind::Method,
                   [](Recorder& r, Arguments a) {
                     auto extra = a[6].objectAs<TrzRecord>();
                     const char* parentKey = extra->Exists("FParentID") ? "FParentID" : "ParentID";
                     return r.record("CreateData " + CStr(a[3]) + " " + CStr(a[4]) + " detail=" + CStr(a[5]) +
                                         " parent=" + CStr(extra->Item(parentKey)),
                                     a[4]);
                   })
              .raw("UpdateData", 2, InvokeKind::Method,
                   [](Recorder& r, Arguments a) {
                     return r.record("UpdateData " + CStr(a[2]) + " " + CStr(a[3]) + " parent=" + CStr(a[4]), a[3]);
                   })
              .build();
      return table;
    }

   private:
    Variant record(std::string call, const Variant& itemID) {
      log_->calls.push_back(std::move(call));
      if (log_->refusedItemID != 0 && CLng(itemID) == log_->refusedItemID)
        throw AutomationError(-2147467259, erp::kDataAccessProgID, "The companion data was refused");
      return Variant(true);
    }
    std::shared_ptr<Log> log_;
  };

  std::shared_ptr<Log> log_ = std::make_shared<Log>();
  ClassOverride override_;
};

}  // namespace quillane::testing
