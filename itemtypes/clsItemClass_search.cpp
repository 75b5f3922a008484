// Search codes: where the values of a custom property are picked from, kept as a number in
// t_ItemPropDesc.FSearch and written in documents as a caption. A code is "T" and the number; the table
// of codes holds four fixed ones, then one per item class, then one per type of auxiliary data.
#include <string_view>

#include "exchange/MParse.h"
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

void clsItemClass::BuildSearchTable() {
  // A table of the fixed codes only would turn every other caption into "no source": without the
  // connection of an earlier call, the codes cannot be read and the call fails instead.
  if (!m_oConn) throw vbError(VbError::ObjectNotSet);
  m_oSearchTable = std::make_shared<TrzRecord>();
  // Item classes and types of auxiliary data may give the same code; the first one read keeps it, so
  // that a caption always turns back into the number it came from.
  auto add = [this](const Variant& number, const Variant& caption) {
    const std::string code = "T" + std::to_string(CLng(number));
    if (!m_oSearchTable->Exists(code)) m_oSearchTable->SetValue(code, caption.isNull() ? std::string() : CStr(caption));
  };
  for (const FixedCode& fixed : kFixedCodes) add(Variant(fixed.number), Variant(fixed.caption));
  auto addRows = [&](const char* strSQL, std::string_view numberField) {
    for (ObjectRef rs = modFunction::GetAnyRecordSet(m_oConn, strSQL); !modFunction::IsEOF(rs); modFunction::MoveNext(rs))
      add(modFunction::FieldValue(rs, numberField), modFunction::FieldValue(rs, "FName"));
  };
  addRows("SELECT * FROM t_ItemClass WHERE FItemClassID<>0", "FItemClassID");
  if (MParse::IsIndustry())
    addRows("SELECT DISTINCT FTypeID,FName FROM t_SubMessage WHERE FTypeID<>0 ", "FTypeID");
  else
    addRows("SELECT DISTINCT FSysTypeID,FName FROM com_SysType WHERE FSysTypeID<>0", "FSysTypeID");
}

std::string clsItemClass::GetNameBySearch(std::int32_t lSearch) {
  BuildSearchTable();
  return CStr(m_oSearchTable->GetValue("T" + std::to_string(lSearch), Variant("")));
}

std::int32_t clsItemClass::GetSearchByName(std::string sName) {
  BuildSearchTable();
  const std::string_view caption = Trim(sName);
  for (const TrzRecord::Entry& entry : m_oSearchTable->Entries())
    if (CStr(entry.second) == caption) return CLng(Variant(entry.first.substr(1)));
  return 0;
}

}  // namespace quillane
