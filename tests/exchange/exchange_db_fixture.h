// For the tests of the exchange code that reaches the database: a chosen language, a registry of the
// test's own, and account sets in a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "accountset/accountset.h"
#include "exchange/mdlLanguage.h"
#include "platform/sql/connection.h"
#include "support/environment.h"
#include "support/render_rows.h"

namespace quillane::testing {

class ExchangeDbTest : public ::testing::Test {
 protected:
  void SetUp() override { mdlLanguage::ResetForTests(); }
  void TearDown() override { mdlLanguage::ResetForTests(); }

  void useLanguage(const char* language) {
    language_.emplace("QUILLANE_LANGUAGE", language);
    mdlLanguage::ResetForTests();
  }

  // A new empty account set; its props string names it with the given extra pairs.
  std::string newAccountSet(const std::string& name = "acct.db") {
    std::string path = dir_.file(name);
    accountset::CreateEmpty(path);
    return path;
  }
  // Every key an import may read is present: fees read the setup type.
  static std::string props(const std::string& path, const std::string& extra = "UserID=16;AcctType=GY;Setuptype=") {
    return "ConnectString={" + accountset::ConnectString(path) + "};" + extra;
  }

  // Runs SQL Server text on the account set at path, over a connection of its own.
  static void exec(const std::string& path, const std::string& sql) {
    sql::Connection db;
    db.setConnString(accountset::ConnectString(path));
    db.Execute(sql);
    db.CloseConn();
  }
  // The rows of a query as RenderRows writes them.
  static std::string rows(const std::string& path, const std::string& sql) {
    sql::Connection db;
    db.setConnString(accountset::ConnectString(path));
    std::string text = RenderRows(*db.GetAnyRecordSet(sql));
    db.CloseConn();
    return text;
  }

  TempDir dir_;
  ScopedEnv registry_{"QUILLANE_REGISTRY", dir_.file("registry.ini")};
  ScopedEnv noLanguage_{"QUILLANE_LANGUAGE", std::nullopt};
  std::optional<ScopedEnv> language_;
};

}  // namespace quillane::testing
