// A connection component for the tests of custom item classes that records the defaults it is asked
// for and refuses the statements that start with a given text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/automation/automation.h"
#include "platform/sql/connection.h"

namespace quillane::testing {

class WatchedConnection : public sql::Connection {
 public:
  struct Log {
    std::vector<std::int32_t> defaults;
    std::string refuse;
  };
  explicit WatchedConnection(std::shared_ptr<Log> log) : log_(std::move(log)) {}
  const DispatchTable& dispatchTable() const override {
    static const DispatchTable table = [] {
      DispatchTable t;
      for (Member m : sql::Connection().dispatchTable().members()) {
        if (SameText(m.name, "AddDefault")) {
          m.invoke = [](AutomationObject& self, Arguments args) -> Variant {
            static_cast<WatchedConnection&>(self).log_->defaults.push_back(CLng(args[0]));
            throw AutomationError(5, "VLMConnection", "the defaults cannot be made");
          };
        } else if (SameText(m.name, "GetAnyRecordSet") || SameText(m.name, "Execute")) {
          m.invoke = [run = m.invoke](AutomationObject& self, Arguments args) -> Variant {
            const std::string& refuse = static_cast<WatchedConnection&>(self).log_->refuse;
            if (!refuse.empty() && CStr(args[0]).starts_with(refuse))
              throw AutomationError(-2147217900, "Microsoft OLE DB Provider for SQL Server", "refused");
            return run(self, args);
          };
        }
        t.add(std::move(m));
      }
      return t;
    }();
    return table;
  }

 private:
  std::shared_ptr<Log> log_;
};

}  // namespace quillane::testing
