// Search codes: where the values of a custom property are picked from, kept as a number in
// t_ItemPropDesc.FSearch and written in documents as a caption. A code is "T" and the number; the table
// of codes holds four fixed ones, then one per item class, then one per type of auxiliary data.
#include <string_view>

#include "exchange/MParse.h"
#include "exchange/mdlLanguage.h"
#include "exchange/modFunction_connection.h"
#include "itemtypes/clsItemClass.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"

namespace quillane {
namespace {

struct FixedCode {
  std::int32_t number;
  const char* caption;
};
// Stored as they stand, untranslated: documents carry them as the ERP writes them.
constexpr FixedCode kFixedCodes[] = {{0, "--无--"}, {105, "科目"}, {120, "币别"}, {7, "计量单位"}};

}  // namespace

bool clsItemClass::BuildSearchTable() {
  m_oSearchTable = std::make_shared<TrzRecord>();
  // Item classes and types of auxiliary data may give the same code; the first one read keeps it, so
  // that a caption always turns back into the number it came from.
  auto add = [this](const Variant& number, const Variant& caption) {
    const std::string code = "T" + std::to_string(CLng(number));
    if (!m_oSearchTable->Exists(code)) m_oSearchTable->SetValue(code, caption.isNull() ? std::string() : CStr(caption));
  };
  for (const FixedCode& fixed : kFixedCodes) add(Variant(fixed.number), Variant(fixed.caption));
  // Without a connection, or with a table that cannot be read, the codes read so far answer.
  if (!m_oConn) return false;
  try {
    auto addRows = [&](const char* strSQL, std::string_view numberField) {
      for (ObjectRef rs = modFunction::GetAnyRecordSet(m_oConn, strSQL); !modFunction::IsEOF(rs); modFunction::MoveNext(rs))
        add(modFunction::FieldValue(rs, numberField), modFunction::FieldValue(rs, "FName"));
    };
    addRows("SELECT * FROM t_ItemClass WHERE FItemClassID<>0", "FItemClassID");
    if (MParse::IsIndustry())
      addRows("SELECT DISTINCT FTypeID,FName FROM t_SubMessage WHERE FTypeID<>0 ", "FTypeID");
    else
      addRows("SELECT DISTINCT FSysTypeID,FName FROM com_SysType WHERE FSysTypeID<>0", "FSysTypeID");
    return true;
  } catch (const AutomationError&) {
    return false;
  }
}

std::string clsItemClass::GetNameBySearch(std::int32_t lSearch) {
  BuildSearchTable();
  return CStr(m_oSearchTable->GetValue("T" + std::to_string(lSearch), Variant("")));
}

std::int32_t clsItemClass::SearchNumberOf(std::string_view caption) const {
  for (const TrzRecord::Entry& entry : m_oSearchTable->Entries())
    if (CStr(entry.second) == caption) return CLng(Variant(entry.first.substr(1)));
  return 0;
}

std::int32_t clsItemClass::GetSearchByName(std::string sName) {
  BuildSearchTable();
  return SearchNumberOf(Trim(sName));
}

std::int32_t clsItemClass::ImportedSearch(const std::string& strCaption) {
  const std::string_view caption = Trim(strCaption);
  // No caption is no source, whatever class may have an empty name.
  if (caption.empty()) return 0;
  const bool complete = BuildSearchTable();
  const std::int32_t lSearch = SearchNumberOf(caption);
  // A caption of a table that could not be read would lose the property's source without a word.
  if (lSearch == 0 && !complete && caption != kFixedCodes[0].caption)
    throw AutomationError(kLibraryRefusal, kSource,
                          mdlLanguage::LoadLangString("无法读取取值来源的列表，找不到取值来源:") + std::string(caption));
  return lSearch;
}

}  // namespace quillane
