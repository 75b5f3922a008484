#include "platform/sql/trigger_switch.h"

#include <cctype>
#include <optional>

#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"
#include "platform/sql/database.h"
#include "platform/sql/errors.h"
#include "platform/sql/lexer.h"

namespace quillane::sql {
namespace {

std::string quotedText(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("''") : std::string(1, c);
  return quoted + "'";
}

// The condition a pausable trigger runs under. Its text is also how a trigger is known to be pausable.
std::string pauseCondition(std::string_view trigger) {
  return std::string("WHEN NOT EXISTS (SELECT 1 FROM ") + kPausedTriggerTable + " WHERE FName = " +
         quotedText(trigger) + ")";
}

bool isWordAt(const std::string& text, std::size_t at, std::string_view word) {
  auto nameChar = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || (c & 0x80); };
  return text.size() - at >= word.size() && SameText(std::string_view(text).substr(at, word.size()), word) &&
         (at == 0 || !nameChar(text[at - 1])) && (at + word.size() == text.size() || !nameChar(text[at + word.size()]));
}

// Where the body of a CREATE TRIGGER text begins (its BEGIN), when the head before it is a complete
// head without a condition of its own: it ends with the table after ON, or with FOR EACH ROW. None
// for any other text.
std::optional<std::size_t> bodyOf(const std::string& text) {
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (!isWordAt(text, at, "BEGIN")) continue;
    std::vector<Token> head;
    try {
      head = Lex(std::string_view(text).substr(0, at));
    } catch (const AutomationError&) {
      continue;  // inside a string, a quoted name or a comment
    }
    for (const Token& t : head)
      if (t.is("WHEN")) return std::nullopt;
    const std::size_t n = head.size();
    const bool afterTable = (n >= 2 && head[n - 2].is("ON")) || (n >= 4 && head[n - 4].is("ON") && head[n - 2].isSymbol("."));
    const bool afterRow = n >= 3 && head[n - 1].is("ROW") && head[n - 2].is("EACH") && head[n - 3].is("FOR");
    if (afterTable || afterRow) return at;
    return std::nullopt;
  }
  return std::nullopt;
}

void enableDropped(Database& db, const Variant& name, const Variant& sql) {
  db.execScript(CStr(sql));
  db.run(std::string("DELETE FROM ") + kDisabledTriggerTable + " WHERE FName = ?1", {&name, 1});
}

}  // namespace

std::string DisabledTriggerTableSql() {
  return std::string("CREATE TABLE IF NOT EXISTS ") + kDisabledTriggerTable +
         " (FName TEXT NOT NULL COLLATE NOCASE PRIMARY KEY, FTable TEXT NOT NULL COLLATE NOCASE, FSql TEXT NOT NULL);\n"
         "CREATE TABLE IF NOT EXISTS " + kPausedTriggerTable + " (FName TEXT NOT NULL COLLATE NOCASE PRIMARY KEY);\n";
}

bool HasDisabledTriggerTable(Database& db) {
  Variant name(kDisabledTriggerTable);
  return !db.query("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1", {&name, 1}).rows.empty();
}

bool HasTriggerSwitchTables(Database& db) {
  Variant names[] = {Variant(kDisabledTriggerTable), Variant(kPausedTriggerTable)};
  return db.query("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name IN (?1, ?2)", names).rows.size() == 2;
}

void SetTriggerEnabled(Database& db, std::string_view table, std::string_view trigger, bool enabled) {
  Variant params[] = {Variant(trigger), Variant(table)};
  Rowset active = db.query(
      "SELECT name, sql FROM sqlite_master WHERE type = 'trigger' AND name = ?1 COLLATE NOCASE "
      "AND tbl_name = ?2 COLLATE NOCASE AND name NOT LIKE 'quillane\\_%' ESCAPE '\\'",
      params);
  Rowset disabled = db.query(std::string("SELECT FName, FSql FROM ") + kDisabledTriggerTable +
                                 " WHERE FName = ?1 AND FTable = ?2",
                             params);
  if (active.rows.empty() && disabled.rows.empty())
    throw ProviderError(OleDbError::NoTable, "ALTER TABLE failed because trigger '" + std::string(trigger) +
                                                 "' does not belong to table '" + std::string(table) + "'.");
  if (!disabled.rows.empty()) {
    if (enabled) enableDropped(db, disabled.rows[0][0], disabled.rows[0][1]);
    return;
  }
  const Variant name = active.rows[0][0];
  const std::string text = CStr(active.rows[0][1]);
  if (enabled) {
    db.run(std::string("DELETE FROM ") + kPausedTriggerTable + " WHERE FName = ?1", {&name, 1});
    return;
  }
  const std::string condition = pauseCondition(CStr(name));
  if (text.find(condition) == std::string::npos) {
    std::optional<std::size_t> body = bodyOf(text);
    if (!body) {
      Variant stash[] = {name, Variant(table), Variant(text)};
      db.run(std::string("INSERT INTO ") + kDisabledTriggerTable + " (FName, FTable, FSql) VALUES (?1, ?2, ?3)", stash);
      db.execScript("DROP TRIGGER " + QuoteIdentifier(CStr(name)));
      return;
    }
    db.execScript("DROP TRIGGER " + QuoteIdentifier(CStr(name)) + ";\n" + text.substr(0, *body) + condition + " " +
                  text.substr(*body));
  }
  db.run(std::string("INSERT OR IGNORE INTO ") + kPausedTriggerTable + " (FName) VALUES (?1)", {&name, 1});
}

void EnableTriggersLeftDisabled(Database& db) {
  if (db.query(std::string("SELECT 1 FROM ") + kPausedTriggerTable + " UNION ALL SELECT 1 FROM " +
               kDisabledTriggerTable + " LIMIT 1")
          .rows.empty())
    return;
  db.execScript(std::string("DELETE FROM ") + kPausedTriggerTable);
  // A trigger made again since, or whose table is gone, only loses its row.
  Rowset left = db.query(std::string("SELECT d.FName, d.FSql, EXISTS (SELECT 1 FROM sqlite_master t WHERE t.type = "
                                     "'table' AND t.name = d.FTable) AND NOT EXISTS (SELECT 1 FROM sqlite_master m "
                                     "WHERE m.type = 'trigger' AND m.name = d.FName) FROM ") +
                         kDisabledTriggerTable + " d");
  for (const auto& row : left.rows) {
    if (CBool(row[2])) enableDropped(db, row[0], row[1]);
    else db.run(std::string("DELETE FROM ") + kDisabledTriggerTable + " WHERE FName = ?1", {&row[0], 1});
  }
}

}  // namespace quillane::sql
