#include "tools/quillane/counts.h"

#include "accountset/accountset.h"
#include "exchange/clsExpImp.h"
#include "exchange/mdlLanguage.h"
#include "exchange/modFunction_text.h"
#include "platform/automation/vbconv.h"
#include "platform/sql/connection.h"

namespace quillane::cli {
namespace {

std::shared_ptr<sql::Recordset> Query(const std::string& path, const std::string& sql) {
  sql::Connection connection;
  connection.setConnString(accountset::ConnectString(path));
  return connection.GetAnyRecordSet(sql);
}

}  // namespace

std::vector<std::pair<std::string, std::int32_t>> RecordsPerClass(const std::string& path) {
  // A class without a name in the user's language goes by its own.
  const std::string name = "IsNull(c." + mdlLanguage::LangFieldName("FName") + ", c.FName)";
  auto rs = Query(path, "SELECT " + name +
                            " AS FName, COUNT(*) AS FCount FROM t_ItemClass c JOIN t_Item i ON "
                            "i.FItemClassID = c.FItemClassID AND i.FItemID > 0 GROUP BY c.FItemClassID, " +
                            name + " ORDER BY c.FItemClassID");
  std::vector<std::pair<std::string, std::int32_t>> counts;
  for (; !rs->Eof(); rs->MoveNext()) counts.emplace_back(CStr(rs->Value("FName")), CLng(rs->Value("FCount")));
  return counts;
}

std::int32_t BulkExportTotal(const std::string& path, std::int32_t lIO, std::string stamp) {
  const std::int32_t itemClassID = clsExpImp::GetItemClassID(lIO);
  if (stamp.empty()) stamp = "0x0000000000000000";
  if (itemClassID < 1 || !modFunction::IsTimeStampText(stamp)) return 0;
  // The rows the item engine's pages select; the class exchange that writes the file sets no filter.
  auto rs = Query(path, "SELECT COUNT(*) AS FCount FROM t_Item WHERE FSystemType=1 AND FModifyTime>" + stamp +
                            " AND FItemClassID=" + std::to_string(itemClassID) + " AND FItemID <> 0");
  return CLng(rs->Value("FCount"));
}

}  // namespace quillane::cli
