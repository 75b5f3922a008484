// Clashes on import: an imported record whose number belongs to an existing record of another name.
// The importer describes the clash in a ConflictContext record; ResolveConflict settles it from an
// answer that already holds, the caller's permission to ask, and the data class's conflict rule.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/xml/TrzRecord.h"

namespace quillane::modFunction {

// The rule texts the ERP stores per data class; any other text skips, as "默认取消" does.
inline constexpr const char* kRuleAsk = "运行时确定处理方式";
inline constexpr const char* kRuleSkip = "默认取消";
inline constexpr const char* kRuleOverwrite = "强制覆盖";

// Where the rules live: one subkey per data class caption, the rule text as the key's default value
// (the value named "@").
inline constexpr const char* kConflictKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Velmora\\ZIVOVIZIRADE\\ConFlict";
inline constexpr const char* kConflictRuleValue = "@";

// Settles one clash in the context record:
//   in:      m_HaveInterFace, FId, FNumber, FName, FClassName
//   in, out: m_SameRule, m_Update_Add_Cancel (0 skip, 1 update, 2 new number), m_DirtyCount, m_DirtyString
//   out:     ExistenceCheck (FId: update that record; -1: leave it), FNumber1 (the new number, when the
//            user chose to add the record under one)
// Errors (an unreadable registry) reach the caller.
void ResolveConflict(TrzRecord& ctx);

// The conflict state an importer carries from record to record, and from import to import.
struct ConflictState {
  bool m_SameRule = false;
  std::int16_t m_Update_Add_Cancel = 0;  // 0 skip, 1 update, 2 new number
  std::int32_t m_DirtyCount = 0;
  std::string m_DirtyString;
};

// Settles one clash of an importer through ResolveConflict: the ConflictContext is filled from the
// importer's state and the clash (FClassName strClassName), and the state is copied back from it. The
// result is ExistenceCheck; strNewNumber receives FNumber1 when the user gave one.
std::int32_t SettleClash(ConflictState& state, bool bHaveInterFace, std::int32_t lExistingID,
                         const std::string& strNumber, const std::string& strName, const std::string& strClassName,
                         std::string& strNewNumber);

// The rule text of a data class ("物料（商品）" is read as "物料", else "商品"; "仓库" as "仓位" when
// only that key exists); "运行时确定处理方式" when no rule is stored.
std::string GetConflictRule(std::string strClassName);

// Asks the user through the conflict dialog. The answer record holds FType (0 skip, 1 update, 2 new
// number), and FAll (apply to all) unless FType is 2, else FNumber (the trimmed new number).
std::shared_ptr<TrzRecord> ShowConflictDialog(const std::string& strOldNumber, const std::string& strClassName);

}  // namespace quillane::modFunction
