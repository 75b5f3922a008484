// The connection component with a record of every text handed to Execute, for tests that pin the
// statements a procedure sends.
#pragma once

#include <string>
#include <vector>

#include "platform/automation/automation.h"
#include "platform/sql/connection.h"

namespace quillane::testing {

class RecordingConnection : public sql::Connection {
 public:
  std::vector<std::string> executed;

  const DispatchTable& dispatchTable() const override {
    static const DispatchTable table = [] {
      DispatchTable t;
      for (Member m : sql::Connection().dispatchTable().members()) {
        if (SameText(m.name, "Execute"))
          m.invoke = [](AutomationObject& self, Arguments args) -> Variant {
            auto& me = static_cast<RecordingConnection&>(self);
            me.executed.push_back(CStr(args[0]));
            return Variant(me.Execute(CStr(args[0])));
          };
        t.add(std::move(m));
      }
      return t;
    }();
    return table;
  }
};

}  // namespace quillane::testing
