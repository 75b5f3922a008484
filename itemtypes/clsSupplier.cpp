#include "itemtypes/clsSupplier.h"

#include "platform/automation/factory.h"

namespace quillane {
namespace {

using enum FieldKind;
using enum ExportTest;

constexpr ItemField Assist(const char* element, const char* column) {
  return {.element = element, .column = column, .kind = Link, .link = LinkKind::Assist, .test = NonZero};
}
constexpr ItemField Account(const char* element, const char* column, FieldGate gate = {}) {
  return {.element = element, .column = column, .kind = Link, .link = LinkKind::Account, .test = NonZero, .gate = gate};
}

// The supplier's contact and bank data, classifications, department and employee, currency and
// settlement method, accounts, trade figures and dates, credit terms and receiving warehouse. The four
// dates skip the texts that stand for no date. A record without StockAssignee has no receiving
// warehouse: its column is set to 0. Corperate, a text, is written only when it is not the number 0.
constexpr ItemField kSupplierFields[] = {
    {.element = "ShortName", .column = "FShortName", .kind = Text},
    {.element = "Address", .column = "FAddress", .kind = Text},
    Assist("Status", "FStatus"),
    Assist("Region", "FRegionID"),
    Assist("Trade", "FTrade"),
    {.element = "LinkMan", .column = "FContact", .kind = Text},
    {.element = "Phone", .column = "FPhone", .kind = Text},
    {.element = "PostalCode", .column = "FPostalCode", .kind = Text},
    {.element = "Email", .column = "FEmail", .kind = Text},
    {.element = "Fax", .column = "FFax", .kind = Text},
    {.element = "SettleCurrency", .column = "FCyID", .kind = Link, .link = LinkKind::Currency, .test = NonZero},
    {.element = "SettleMode", .column = "FSetID", .kind = Link, .link = LinkKind::Settle, .test = NonZero},
    {.element = "Bank", .column = "FBank", .kind = Text},
    {.element = "BankNo", .column = "FAccount", .kind = Text},
    {.element = "TaxNum", .column = "FTaxNum", .kind = Text},
    {.element = "Province", .column = "FProvince", .kind = Text},
    {.element = "Country", .column = "FCountry", .kind = Text},
    {.element = "Department", .column = "FDepartment", .kind = Link, .link = LinkKind::Item, .test = NonZero},
    {.element = "Employee", .column = "FEmployee", .kind = Link, .link = LinkKind::Item, .test = NonZero},
    {.element = "Corperate", .column = "FCorperate", .kind = Text, .test = NonZero},
    Account("APAccount", "FAPAccountID"),
    Account("PreAccount", "FPreAcctID"),
    {.element = "FavorPolicy", .column = "FFavorPolicy", .kind = Text},
    {.element = "LastTradeDate", .column = "FLastTradeDate", .kind = Date},
    {.element = "LastTradeAmount", .column = "FLastTradeAmount", .kind = Number},
    {.element = "LastReceiveDate", .column = "FLastReceiveDate", .kind = Date},
    {.element = "LastRPAmount", .column = "FLastRPAmount", .kind = Number},
    {.element = "MaxDealAmount", .column = "FMaxDealAmount", .kind = Number},
    {.element = "MinForeReceiveRate", .column = "FMinForeReceiveRate", .kind = Number},
    Account("PayTaxAcctID", "FPayTaxAcctID", AtLeast("3.0.0.0")),
    {.element = "CreditDays", .column = "FCreditDays", .kind = Text},
    {.element = "LicAndPermit", .column = "FLicAndPermit", .kind = Text},
    {.element = "Licence", .column = "FLicence", .kind = Text},
    Assist("SupplierClass", "FTypeID"),
    {.element = "StockAssignee", .column = "FStockIDAssignee", .kind = Link, .link = LinkKind::vwAssigneeStock,
     .test = NonZero, .absentValue = "0"},
    {.element = "Discount", .column = "FDiscount", .kind = Text},
    {.element = "Regmark", .column = "FRegmark", .kind = Text},
    {.element = "Branch", .column = "FBr", .kind = Text},
    {.element = "PaperPeriod", .column = "FPaperPeriod", .kind = Date, .gate = Above("2.0.0.2")},
    {.element = "AlarmPeriod", .column = "FAlarmPeriod", .kind = Date, .gate = Above("2.0.0.2")},
    {.element = "ValueAddRate", .column = "FValueAddRate", .kind = Number, .gate = Above("2.0.0.6")},
    Account("OtherARAcctID", "FOtherARAcctID"),
    Account("OtherAPAcctID", "FOtherAPAcctID"),
    Account("PreARAcctID", "FPreARAcctID"),
    Account("ARAccountID", "FARAccountID"),
};

}  // namespace

clsSupplier::clsSupplier() : ItemTypeShell(kItemClassID, FieldMap(kSupplierFields)) {}

QUILLANE_REGISTER_CLASS("Quillane.clsSupplier", clsSupplier)

}  // namespace quillane
