#include "itemtypes/clsCustomer.h"

#include "platform/automation/factory.h"

namespace quillane {
namespace {

using enum FieldKind;
using enum ExportTest;
using enum LinkKind;

// The customer's names and addresses, contact and bank data, classifications (auxiliary data), its
// department and employee, settlement currency and mode, accounts, trade figures and licences. Three
// licence texts are only ever imported: no export writes them, but peers send them. Flags travel as the
// export writes a bit column and come back as such.
constexpr ItemField kCustomerFields[] = {
    {.element = "ShortName", .column = "FShortName", .kind = Text},
    {.element = "HelpCode", .column = "FHelpCode", .kind = Text},
    {.element = "Address", .column = "FAddress", .kind = Text},
    {.element = "Status", .column = "FStatus", .kind = Link, .link = Assist, .test = NonZero},
    {.element = "Region", .column = "FRegionID", .kind = Link, .link = Assist, .test = NonZero},
    {.element = "Trade", .column = "FTrade", .kind = Link, .link = Assist, .test = NonZero},
    {.element = "LinkMan", .column = "FContact", .kind = Text},
    {.element = "Phone", .column = "FPhone", .kind = Text},
    {.element = "Fax", .column = "FFax", .kind = Text},
    {.element = "PostalCode", .column = "FPostalCode", .kind = Text},
    {.element = "Email", .column = "FEmail", .kind = Text},
    {.element = "Bank", .column = "FBank", .kind = Text},
    {.element = "Account", .column = "FAccount", .kind = Text},  // the bank account: text, not a link
    {.element = "TaxNum", .column = "FTaxNum", .kind = Text},
    {.element = "SaleMode", .column = "FSaleMode", .kind = Link, .link = Assist, .test = NonZero},
    {.element = "City", .column = "FCity", .kind = Text},
    {.element = "Province", .column = "FProvince", .kind = Text},
    {.element = "Country", .column = "FCountry", .kind = Text},
    {.element = "HomePage", .column = "FHomePage", .kind = Text},
    {.element = "Corperate", .column = "FCorperate", .kind = Text},
    {.element = "SettleCurrency", .column = "FCyID", .kind = Link, .link = Currency, .test = NonZero},
    {.element = "SettleMode", .column = "FSetID", .kind = Link, .link = Settle, .test = NonZero},
    {.element = "CIQNumber", .column = "FCIQNumber", .kind = Text},
    {.element = "ARAccount", .column = "FARAccountID", .kind = Link, .link = Account, .test = NonZero},
    {.element = "PreAccount", .column = "FPreAcctID", .kind = Link, .link = Account, .test = NonZero},
    {.element = "FavorPolicy", .column = "FFavorPolicy", .kind = Text},
    {.element = "Department", .column = "FDepartment", .kind = Link, .link = Item, .test = NonZero},
    {.element = "Employee", .column = "FEmployee", .kind = Link, .link = Item, .test = NonZero},
    {.element = "LastTradeDate", .column = "FLastTradeDate", .kind = Date},
    {.element = "LastTradeAmount", .column = "FLastTradeAmount", .kind = Number},
    {.element = "LastReceiveDate", .column = "FLastReceiveDate", .kind = Date},
    {.element = "LastRPAmount", .column = "FLastRPAmount", .kind = Number},
    {.element = "MaxDealAmount", .column = "FMaxDealAmount", .kind = Number},
    {.element = "MinForeReceiveRate", .column = "FMinForeReceiveRate", .kind = Number},
    {.element = "MinReserverate", .column = "FMinReserverate", .kind = Number},
    {.element = "DebtLevel", .column = "FDebtLevel", .kind = Link, .link = Assist, .test = NonZero},
    {.element = "PayTaxAcctID", .column = "FPayTaxAcctID", .kind = Link, .link = Account, .test = NonZero,
     .gate = AtLeast("3.0.0.0")},
    {.element = "CustomerType", .column = "FTypeID", .kind = Link, .link = Assist, .test = NonZero},
    {.element = "StockIDKeep", .column = "FStockIDKeep", .kind = Link, .link = vwKeepStock, .test = NonZero},
    {.element = "LicAndPermit", .column = "FLicAndPermit", .kind = Flag},
    {.element = "Licence", .column = "FLicence", .kind = Text, .direction = Direction::ImportOnly},
    {.element = "Permit", .column = "FPermit", .kind = Text, .direction = Direction::ImportOnly},
    {.element = "Certify", .column = "FCertify", .kind = Text, .direction = Direction::ImportOnly},
    {.element = "PaperPeriod", .column = "FPaperPeriod", .kind = Date, .gate = Above("2.0.0.2")},
    {.element = "AlarmPeriod", .column = "FAlarmPeriod", .kind = Date, .gate = Above("2.0.0.2")},
    {.element = "IsCreditMgr", .column = "FIsCreditMgr", .kind = Flag},
    {.element = "BeforeHandDay", .column = "FCarryingAOS", .kind = Text},
    {.element = "ValueAddRate", .column = "FValueAddRate", .kind = Text, .gate = Above("2.0.0.6")},
    {.element = "FSaleID", .column = "FSaleID", .kind = Link, .link = Assist, .test = NonZero},
    {.element = "OtherARAcctID", .column = "FOtherARAcctID", .kind = Link, .link = Account, .test = NonZero},
    {.element = "OtherAPAcctID", .column = "FOtherAPAcctID", .kind = Link, .link = Account, .test = NonZero},
    {.element = "PreAPAcctID", .column = "FPreAPAcctID", .kind = Link, .link = Account, .test = NonZero},
    {.element = "APAccountID", .column = "FAPAccountID", .kind = Link, .link = Account, .test = NonZero},
};

// Peers expect the address before the help code and the fax after the e-mail in the SET list.
constexpr const char* kCustomerImportOrder[] = {"Address", "HelpCode", "PostalCode", "Email", "Fax"};

}  // namespace

// An older account set lacks some of these columns: its customers still export, without those keys.
clsCustomer::clsCustomer()
    : ItemTypeShell(kItemClassID, FieldMap(kCustomerFields, {.importOrder = kCustomerImportOrder,
                                                             .containExportErrors = true})) {}

QUILLANE_REGISTER_CLASS("Quillane.clsCustomer", clsCustomer)

}  // namespace quillane
