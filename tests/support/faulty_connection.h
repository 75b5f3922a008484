// The connection component with a fault planted in its transactions, for tests of what an import does
// when the storage fails under it or a transaction cannot begin.
#pragma once

#include <sqlite3.h>

#include <functional>
#include <string>

#include "platform/automation/automation.h"
#include "platform/sql/connection.h"
#include "platform/sql/database.h"
#include "platform/sql/errors.h"

namespace quillane::testing {

class FaultyConnection : public sql::Connection {
 public:
  // Runs before each BeginTrans with the count of BeginTrans so far (1 for the first); it may change
  // the database or raise instead of the transaction.
  using Fault = std::function<void(FaultyConnection&, int beginCount)>;
  explicit FaultyConnection(Fault fault) : fault_(std::move(fault)) {}

  const DispatchTable& dispatchTable() const override {
    static const DispatchTable table = [] {
      DispatchTable t;
      for (Member m : sql::Connection().dispatchTable().members()) {
        if (SameText(m.name, "BeginTrans"))
          m.invoke = [run = m.invoke](AutomationObject& self, Arguments args) -> Variant {
            auto& connection = static_cast<FaultyConnection&>(self);
            connection.fault_(connection, ++connection.begins_);
            return run(self, args);
          };
        t.add(std::move(m));
      }
      return t;
    }();
    return table;
  }

  // The database stops growing at the size it has when the transaction begins: a write that needs
  // another page is refused as a full disk would refuse it.
  static Fault DiskFull() {
    return [](FaultyConnection& c, int) { c.database().execScript("PRAGMA max_page_count=1"); };
  }
  // Every write is refused as a read-only file refuses it.
  static Fault ReadOnlyFile() {
    return [](FaultyConnection& c, int) { c.database().execScript("PRAGMA query_only=1"); };
  }
  // Another connection's lock is waited for only so long, so that a test of a lock that outlasts the
  // wait need not sit out the library's own; begins counts every transaction asked for.
  static Fault ShortBusyWait(int milliseconds, int& begins) {
    return [milliseconds, &begins](FaultyConnection& c, int) {
      ++begins;
      sqlite3_busy_timeout(c.database().handle(), milliseconds);
    };
  }

 private:
  Fault fault_;
  int begins_ = 0;
};

// Puts a FaultyConnection under the connection component's ProgID for the life of the test.
struct ScopedFaultyConnection {
  explicit ScopedFaultyConnection(FaultyConnection::Fault fault)
      : override_(sql::kConnectionProgID, [fault] {
          return std::static_pointer_cast<AutomationObject>(std::make_shared<FaultyConnection>(fault));
        }) {}
  ClassOverride override_;
};

}  // namespace quillane::testing
