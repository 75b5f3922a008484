// Voucher groups: found by UUID or name, their range texts, and the standard flag and limit that only
// account sets of service pack 3.0.0.0 and later exchange.
#include <gtest/gtest.h>

#include <functional>

#include "standalone_fixture.h"

namespace quillane::testing {
namespace {

struct VoucherCase {
  const char* what;
  std::string record;
  std::function<void(ObjectRef&)> options;
  const char* servicePack;
  // t_VoucherGroup afterwards: FGroupID,FName,FDRange,FCRange,FDCRange,FNDRange,FNCRange,FNDCRange,
  // FStandard,FLimitMulti,UUID,FSystemType
  const char* rows;
  std::vector<std::string> calls;
};
void PrintTo(const VoucherCase& c, std::ostream* os) { *os << c.what; }

const std::string kRanges = element("DRange", "1001") + element("CRange", "0") + element("DCRange", "NULL") +
                            element("NDRange", "null") + element("NCRange", "00");
auto byUUID = [](ObjectRef& o) { o->Let("CheckByUUID", true); };
const char* kUntouched = "1,记,NULL,NULL,NULL,NULL,NULL,NULL,1,0,V1,1;2,收,1001,NULL,NULL,NULL,NULL,NULL,0,5,V2,1";

const VoucherCase kCases[] = {
    {"a new standard group is the only standard one",
     element("Name", "转") + element("UUID", "V3") + element("Standard", "1") + element("LimitMulti", "30"), {},
     "3.0.0.0",
     "1,记,NULL,NULL,NULL,NULL,NULL,NULL,0,0,V1,1;2,收,1001,NULL,NULL,NULL,NULL,NULL,0,5,V2,1;"
     "3,转,NULL,NULL,NULL,NULL,NULL,NULL,1,30,V3,1",
     {"CreateData 140 3 detail=True parent=0"}},
    {"a group found by name takes the record's ranges; 0 and NULL store Null", element("Name", "收") + kRanges, {},
     "3.0.0.0", "1,记,NULL,NULL,NULL,NULL,NULL,NULL,1,0,V1,1;2,收,1001,NULL,NULL,null,00,NULL,0,0,V2,1", {}},
    {"with CheckByUUID the UUID finds a renamed group", element("Name", "收款") + element("UUID", "V2"), byUUID,
     "3.0.0.0", "1,记,NULL,NULL,NULL,NULL,NULL,NULL,1,0,V1,1;2,收款,NULL,NULL,NULL,NULL,NULL,NULL,0,0,V2,1", {}},
    {"with CheckByUUID an unmatched UUID falls back to the name",
     element("Name", "收") + element("UUID", "V9") + element("LimitMulti", "5"), byUUID, "3.0.0.0",
     "1,记,NULL,NULL,NULL,NULL,NULL,NULL,1,0,V1,1;2,收,NULL,NULL,NULL,NULL,NULL,NULL,0,5,V9,1", {}},
    {"AddNewOnly leaves an existing group and every standard flag alone",
     element("Name", "收") + element("Standard", "1"), [](ObjectRef& o) { o->Let("AddNewOnly", true); }, "3.0.0.0",
     kUntouched, {}},
    {"a Standard of 0 leaves the standard flags as they are",
     element("Name", "收") + element("DRange", "1001") + element("Standard", "0") + element("LimitMulti", "5"), {},
     "3.0.0.0", kUntouched, {}},
    {"an older account set writes neither the standard flag nor the limit",
     element("Name", "收") + element("DRange", "1001") + element("Standard", "1") + element("LimitMulti", "9"), {},
     "2.0.0.7", kUntouched, {}},
};

class VoucherGroupImport : public StandaloneTest, public ::testing::WithParamInterface<VoucherCase> {};

TEST_P(VoucherGroupImport, Branches) {
  const VoucherCase& c = GetParam();
  std::string target = newAccountSet();
  setServicePack(target, c.servicePack);
  exec(target, "INSERT INTO t_VoucherGroup (FGroupID, FName, FDRange, FStandard, FLimitMulti, UUID) VALUES "
               "(1, '记', NULL, 1, 0, 'V1'), (2, '收', '1001', 0, 5, 'V2')");
  importInto(target, "Quillane.clsVoucherGroup", "VoucherGroup", {c.record}, c.options);
  EXPECT_EQ(rows(target, "SELECT FGroupID, FName, FDRange, FCRange, FDCRange, FNDRange, FNCRange, FNDCRange, FStandard, "
                         "FLimitMulti, UUID, FSystemType FROM t_VoucherGroup ORDER BY FGroupID"),
            c.rows);
  EXPECT_EQ(dataAccess.calls(), c.calls);
}

INSTANTIATE_TEST_SUITE_P(Records, VoucherGroupImport, ::testing::ValuesIn(kCases));

TEST_F(StandaloneTest, AVoucherGroupExportsItsStandardFlagAndLimitFromServicePack3) {
  std::string source = newAccountSet();
  exec(source, "INSERT INTO t_VoucherGroup (FGroupID, FName, FCRange, FStandard, FLimitMulti, UUID) VALUES "
               "(0, '无', NULL, 0, 0, 'V0'), (1, '付', '1001,1002', 1, 30, 'V1')");
  ObjectRef groups = CreateObject("Quillane.clsVoucherGroup");
  ExportedPage page = ExportPage(groups, props(source));
  ASSERT_TRUE(page.ok) << page.error;
  // Null columns leave their keys out; the row whose id is 0 is no group.
  EXPECT_EQ(page.xml, "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"VoucherGroup\"><VoucherGroup><Name>付</Name>"
                      "<CRange>1001,1002</CRange><UUID>V1</UUID><Standard>1</Standard><LimitMulti>30</LimitMulti>"
                      "</VoucherGroup></Root>");

  setServicePack(source, "2.0.0.7");
  page = ExportPage(groups, props(source));
  ASSERT_TRUE(page.ok) << page.error;
  EXPECT_FALSE(holds(page.xml, "Standard")) << page.xml;
  EXPECT_FALSE(holds(page.xml, "LimitMulti")) << page.xml;
}

TEST_F(StandaloneTest, AVoucherGroupThatFailsIsNamedByItsNameAndUUID) {
  std::string target = newAccountSet();
  refuseUpdateTo(target, "t_VoucherGroup", "坏");
  ImportResult result = ImportXml(CreateObject("Quillane.clsVoucherGroup"), props(target),
                                  document("VoucherGroup", {element("Name", "坏") + element("UUID", "V5")}));
  EXPECT_FALSE(result.ok);
  EXPECT_TRUE(holds(result.error, "导入凭证字记录(Name:坏,UUID:V5)失败!\r\n")) << result.error;
  EXPECT_EQ(rows(target, "SELECT COUNT(*) FROM t_VoucherGroup"), "0");
}

}  // namespace
}  // namespace quillane::testing
