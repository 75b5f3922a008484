// A small database for the tests of the connection component: a few tables in SQLite text, made in a
// temporary folder, with row versions stamped from the first row on (1, 2, 3...).
#pragma once

#include <memory>
#include <string>

#include "platform/automation/vbconv.h"
#include "platform/sql/connection.h"
#include "platform/sql/database.h"
#include "platform/sql/rowversion.h"
#include "support/render_rows.h"
#include "support/environment.h"

namespace quillane::testing {

inline constexpr const char* kFixtureSchema = R"(
CREATE TABLE t_Item (FItemID INTEGER PRIMARY KEY, FItemClassID INT NOT NULL, FNumber VARCHAR(80) NOT NULL COLLATE NOCASE,
  FName VARCHAR(255) NOT NULL COLLATE NOCASE, FDetail BIT NOT NULL DEFAULT 1, FParentID INT NOT NULL DEFAULT 0,
  FSystemType INT NOT NULL DEFAULT 1, FModifyTime TIMESTAMP);
CREATE TABLE t_ICItem (FItemID INT NOT NULL PRIMARY KEY, FNumber VARCHAR(80) COLLATE NOCASE, FParentID INT DEFAULT 0);
CREATE TABLE t_BarCode (FTypeID INT NOT NULL, FItemID INT NOT NULL, FBarCode VARCHAR(255) NOT NULL COLLATE NOCASE,
  FRemark VARCHAR(255) COLLATE NOCASE);
CREATE TABLE t_Log (FText VARCHAR(80));
CREATE VIEW vwMaterial AS SELECT FItemID, FNumber, FName FROM t_Item WHERE FItemClassID = 4;
CREATE TRIGGER t_Item_Log AFTER DELETE ON t_Item BEGIN INSERT INTO t_Log VALUES ('deleted ' || OLD.FNumber); END;
)";

inline constexpr const char* kFixtureRows = R"(
INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName) VALUES (1, 4, '01', 'Bolt'), (2, 4, '02', 'Nut'), (3, 1, 'C1', 'Acme');
INSERT INTO t_ICItem (FItemID, FNumber) VALUES (1, 'x'), (2, 'y');
)";

// The fixture database in a file of its own, and a connection component set to it.
class SqlFixture {
 public:
  SqlFixture() : path_(folder_.file("fixture.db")) {
    {
      sql::Database db(path_, sql::Database::Mode::CreateNew);
      db.execScript(kFixtureSchema);
      sql::InstallMissingRowVersions(db);
      db.execScript(kFixtureRows);
    }
    connection_ = std::make_shared<sql::Connection>();
    connection_->setConnString(connectString());
  }

  std::string connectString() const { return "Provider=SQLite;Data Source=" + path_; }
  const std::string& path() const { return path_; }
  const TempDir& folder() const { return folder_; }
  sql::Connection& connection() { return *connection_; }
  std::shared_ptr<sql::Connection> connectionRef() { return connection_; }

 private:
  TempDir folder_;
  std::string path_;
  std::shared_ptr<sql::Connection> connection_;
};

}  // namespace quillane::testing
