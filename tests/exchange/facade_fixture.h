// The facade under test: a facade object with late-bound helpers, and a recording stand-in for the
// per-type classes that the facade creates by ProgID.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "itemtypes/department_fixture.h"
#include "platform/automation/automation.h"

namespace quillane::testing {

// Stands in for a per-type class: records what the facade sets and calls, answers with what the test
// scripted, and raises the events the test asks for from inside its Export and Import.
class RecordingType : public AutomationObject {
 public:
  struct Script {
    std::vector<std::string> calls;
    std::int32_t errorCount = 0;
    bool result = true;
    // Run inside Export and Import with the object itself, to raise events.
    std::function<void(RecordingType&)> during;
    ObjectRef oExpImp;
    // When not empty, Export serves these pages in turn, stamping page i "0x0<i+1>" under the highest
    // stamp "0x0<count>", and fails once they are used up.
    std::vector<std::string> pages;
    std::size_t served = 0;
    int alive = 0;
  };
  explicit RecordingType(std::shared_ptr<Script> script) : script_(std::move(script)) { ++script_->alive; }
  ~RecordingType() override { --script_->alive; }

  bool Export(std::string& strPropsString, std::string& strXML, std::int32_t lPerCount, std::string& strTimeStamp,
              std::string& strMaxTimeStamp, std::string& strError) {
    record("Export(" + strPropsString + "," + strXML + "," + std::to_string(lPerCount) + "," + strTimeStamp + "," +
           strMaxTimeStamp + "," + strError + ")");
    if (script_->during) script_->during(*this);
    if (!script_->pages.empty()) return servePage(strXML, strTimeStamp, strMaxTimeStamp, strError);
    strXML = "<Root/>";
    strTimeStamp = "0x01";
    strMaxTimeStamp = "0x02";
    strError = "page error";
    return script_->result;
  }
  bool Import(std::string& strPropsString, std::string strXML, std::string& strError, Variant& lSystemType) {
    record("Import(" + strPropsString + "," + strXML + "," + strError + "," + CStr(lSystemType) + ")");
    if (script_->during) script_->during(*this);
    strError = "import error";
    return script_->result;
  }
  void option(const char* name, const Variant& value) { record(std::string(name) + "=" + CStr(value)); }
  void setFilter(std::string v) { option("Filter", v); }
  void setCheckByUUID(bool v) { option("CheckByUUID", v); }
  void setAddNewOnly(bool v) { option("AddNewOnly", v); }
  void setbProgress(bool v) { option("bProgress", v); }
  void setHaveInterFace(bool v) { option("HaveInterFace", v); }
  void setoExpImp(ObjectRef v) {
    record("oExpImp");
    script_->oExpImp = std::move(v);
  }
  std::int32_t ErrorCount() const { return script_->errorCount; }

  // Raises Progress with bCancel True and gives back what the sinks left in it.
  bool progress() {
    bool bCancel = true;
    RaiseEventWith("Progress", 1, std::int32_t{1}, std::int32_t{2}, bCancel);
    return bCancel;
  }
  std::string dirty() {
    std::int32_t id = 2, counts = 1;
    std::string content = "01";
    RaiseEventWith("DirtyRecord", 2, id, counts, content);
    return content;
  }

  const DispatchTable& dispatchTable() const override {
    static const DispatchTable table = DispatchBuilder<RecordingType>()
                                           .method("Export", 1, &RecordingType::Export)
                                           .method("Import", 2, &RecordingType::Import)
                                           .let("Filter", 3, &RecordingType::setFilter)
                                           .let("CheckByUUID", 4, &RecordingType::setCheckByUUID)
                                           .let("AddNewOnly", 5, &RecordingType::setAddNewOnly)
                                           .let("bProgress", 6, &RecordingType::setbProgress)
                                           .get("ErrorCount", 7, &RecordingType::ErrorCount)
                                           .let("HaveInterFace", 8, &RecordingType::setHaveInterFace)
                                           .set("oExpImp", 9, &RecordingType::setoExpImp)
                                           .build();
    return table;
  }

 private:
  bool servePage(std::string& strXML, std::string& strTimeStamp, std::string& strMaxTimeStamp, std::string& strError) {
    std::vector<std::string>& pages = script_->pages;
    if (script_->served == pages.size()) {
      strError = "no page";
      return false;
    }
    strXML = pages[script_->served++];
    strTimeStamp = "0x0" + std::to_string(script_->served);
    strMaxTimeStamp = "0x0" + std::to_string(pages.size());
    return true;
  }
  void record(std::string call) { script_->calls.push_back(std::move(call)); }
  std::shared_ptr<Script> script_;
};

// Puts a RecordingType under a ProgID for the life of the test.
struct FakeType {
  explicit FakeType(const std::string& progID)
      : override_(progID, [s = script] {
          return std::static_pointer_cast<AutomationObject>(std::make_shared<RecordingType>(s));
        }) {}
  std::shared_ptr<RecordingType::Script> script = std::make_shared<RecordingType::Script>();
  ClassOverride override_;
};

class FacadeTest : public DepartmentTest {
 protected:
  Page facadeExport(std::int32_t lIO, const std::string& propsString = "P", const std::string& since = "") {
    std::vector<Variant> args{propsString, lIO, "", std::int32_t{100}, since, "", ""};
    bool ok = CBool(facade->Call("Export", args));
    return Page{ok, CStr(args[2]), CStr(args[4]), CStr(args[5]), CStr(args[6])};
  }
  Imported facadeImport(std::int32_t lIO, const std::string& xml, const std::string& propsString = "P") {
    std::vector<Variant> args{propsString, lIO, xml, ""};
    bool ok = CBool(facade->Call("Import", args));
    return Imported{ok, CStr(args[3])};
  }
  std::int32_t errorCount() { return CLng(facade->Get("ErrorCount")); }

  ObjectRef facade = CreateObject("Quillane.clsExpImp");
};

}  // namespace quillane::testing
