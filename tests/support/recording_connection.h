// The connection component with a record of the statements it was handed through its late-bound
// members, for tests that check the text the library sends.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/automation.h"
#include "platform/sql/connection.h"

namespace quillane::testing {

class RecordingConnection : public sql::Connection {
 public:
  struct Statement {
    std::string member;  // GetAnyRecordSet or Execute
    std::string text;
  };
  std::vector<Statement> statements;

  // The texts handed to one member, in order.
  std::vector<std::string> statementsOf(std::string_view member) const {
    std::vector<std::string> texts;
    for (const Statement& s : statements)
      if (SameText(s.member, member)) texts.push_back(s.text);
    return texts;
  }

  const DispatchTable& dispatchTable() const override {
    static const DispatchTable table = [] {
      DispatchTable t;
      for (Member m : sql::Connection().dispatchTable().members()) {
        if (SameText(m.name, "GetAnyRecordSet") || SameText(m.name, "Execute"))
          m.invoke = [name = m.name, run = m.invoke](AutomationObject& self, Arguments args) -> Variant {
            static_cast<RecordingConnection&>(self).statements.push_back({name, CStr(args[0])});
            return run(self, args);
          };
        t.add(std::move(m));
      }
      return t;
    }();
    return table;
  }
};

}  // namespace quillane::testing
