#include "itemtypes/clsMaterial.h"

#include "platform/automation/factory.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"

namespace quillane {
namespace {

using enum FieldKind;
using enum ExportTest;
using enum LinkKind;

// ---- the steps no kind says ----

// A model text never carries an apostrophe: each becomes "’", on export and on import alike, and peers
// read it so. Nothing turns it back.
Variant withoutApostrophes(const Variant& value) { return Variant(Replace(CStr(value), "'", "’")); }

void PacketModel(ItemEngineAccess& engine, const ItemField& field, const Variant& value, TrzRecord& record) {
  PacketField(engine, field, withoutApostrophes(value), record);
}
void ImportModel(ItemEngineAccess& engine, const ItemField& field, TrzRecord& record, std::string& strSQL) {
  if (record.Exists(field.element)) ImportField(engine, field, withoutApostrophes(record.Item(field.element)), strSQL);
}

// An auxiliary-data link that the target does not know takes the target's default entry of that number
// and name instead. The defaults are written into the document's own link, where the engine reads the
// costing method's name again after the fields. The entry is looked up by the name the account set
// stores, whatever the user's language. When the target has no such entry either, the column is set
// to 0, as for any link that matches nothing. An empty link is no link: the column is set to NULL as
// for any link.
void importWithDefault(ItemEngineAccess& engine, const ItemField& field, TrzRecord& record, std::string& strSQL,
                       const char* number, const char* name) {
  if (!record.Exists(field.element)) return;
  const Variant& link = record.Item(field.element);
  std::shared_ptr<TrzRecord> nested = record.GetRecord(field.element);
  if (!nested || nested->Count() == 0) {
    ImportField(engine, field, link, strSQL);
    return;
  }
  std::string assignment;
  if (ImportLinkField(engine, field.link, link, field.column, assignment) == 0) {
    nested->SetValue("Number", Variant(number));
    nested->SetValue("Name", Variant(name));
    nested->SetValue("UUID", Variant("LJWWJL"));  // no UUID: the entry is found by number and name
    assignment.clear();
    ImportLinkField(engine, field.link, link, field.column, assignment);
  }
  strSQL += assignment;
}
// The costing method: weighted average.
void ImportTrack(ItemEngineAccess& engine, const ItemField& field, TrzRecord& record, std::string& strSQL) {
  importWithDefault(engine, field, record, strSQL, "F001", "加权平均法");
}
// The use state: in use.
void ImportUseState(ItemEngineAccess& engine, const ItemField& field, TrzRecord& record, std::string& strSQL) {
  importWithDefault(engine, field, record, strSQL, "USE", "使用");
}

// A record without its CU unit takes its base unit as the CU unit, and one without its unit group the
// group of its base unit.
void ImportCUUnit(ItemEngineAccess& engine, const ItemField& field, TrzRecord& record, std::string& strSQL) {
  if (record.Exists(field.element))
    ImportField(engine, field, record.Item(field.element), strSQL);
  else if (record.Exists("Unit"))
    ImportField(engine, field, record.Item("Unit"), strSQL);
}
void ImportUnitGroup(ItemEngineAccess& engine, const ItemField& field, TrzRecord& record, std::string& strSQL) {
  if (record.Exists(field.element))
    ImportField(engine, field, record.Item(field.element), strSQL);
  else if (record.Exists("Unit"))
    ImportUnitGroupFieldByUnit(engine, record.Item("Unit"), field.column, strSQL);
}

constexpr FieldStep kModel{PacketModel, ImportModel};
constexpr FieldStep kTrack{nullptr, ImportTrack};
constexpr FieldStep kUseState{nullptr, ImportUseState};
constexpr FieldStep kCUUnit{nullptr, ImportCUUnit};
constexpr FieldStep kUnitGroup{nullptr, ImportUnitGroup};

// ---- the field map ----

// Every plain value is imported between apostrophes, whatever the column's type, and converted by the
// database; flags travel as the export writes a bit column and come back as such. Links test only for
// Null (the codecs write nothing for 0), but for the currencies of the price limits.
constexpr ItemField kMaterialFields[] = {
    {.element = "Model", .column = "FModel", .kind = Text, .step = &kModel},
    {.element = "Track", .column = "FTrack", .kind = Link, .link = Assist, .step = &kTrack},

    // The extra group.
    {.element = "AuxClass", .column = "FAuxClassID", .kind = Link, .link = AuxClass},
    {.element = "HelpCode", .column = "FHelpCode", .kind = Text},
    {.element = "AuxType", .column = "FTypeID", .kind = Link, .link = Assist},
    {.element = "UnitGroup", .column = "FUnitGroupID", .kind = Link, .link = UnitGroup, .step = &kUnitGroup},
    {.element = "IsSpecialTax", .column = "FIsSpecialTax", .kind = Flag},
    {.element = "IsStockTime", .column = "FStockTime", .kind = Flag},
    {.element = "BeforeExpire", .column = "FBeforeExpire", .kind = Date},
    {.element = "ApproveNo", .column = "FApproveNo", .kind = Text},
    {.element = "Alias", .column = "FAlias", .kind = Text},
    {.element = "TaxRate", .column = "FTaxRate", .kind = Text},
    {.element = "Note", .column = "FNote", .kind = Text},
    {.element = "AdminAcct", .column = "FAdminAcctID", .kind = Link, .link = Account},
    {.element = "IsBookPlan", .column = "FBookPlan", .kind = Flag, .gate = Above("2.0.0.3")},

    // The main set.
    {.element = "ErpCls", .column = "FErpClsID", .kind = Link, .link = Assist},
    {.element = "Unit", .column = "FUnitID", .kind = Link, .link = Unit},
    {.element = "CUUnit", .column = "FCUUnitID", .kind = Link, .link = Unit, .step = &kCUUnit},
    {.element = "DefaultLoc", .column = "FDefaultLoc", .kind = Link, .link = Item},
    {.element = "StockPlace", .column = "FSPID", .kind = Link, .link = StockPlace},
    {.element = "Source", .column = "FSource", .kind = Link, .link = Item},
    {.element = "QtyDecimal", .column = "FQtyDecimal", .kind = Text},
    {.element = "LowLimit", .column = "FLowLimit", .kind = Text},
    {.element = "HighLimit", .column = "FHighLimit", .kind = Text},
    {.element = "SecInv", .column = "FSecInv", .kind = Text},
    {.element = "UseState", .column = "FUseState", .kind = Link, .link = Assist, .step = &kUseState},
    {.element = "OrderRector", .column = "FOrderRector", .kind = Link, .link = Item},
    {.element = "POHighPrice", .column = "FPOHighPrice", .kind = Text},
    {.element = "IsSale", .column = "FIsSale", .kind = Flag},
    {.element = "SalePrice", .column = "FSalePrice", .kind = Text},
    {.element = "InspectionLevel", .column = "FInspectionLevel", .kind = Link, .link = Assist},
    {.element = "InspectionProject", .column = "FInspectionProject", .kind = Link, .link = InspectionProject},
    {.element = "Identifier", .column = "FIdentifier", .kind = Link, .link = Item},
    {.element = "IsBatch", .column = "FBatchManager", .kind = Flag},
    {.element = "IsKeepTime", .column = "FISKFPeriod", .kind = Flag},
    {.element = "KeepQualityDays", .column = "FKFPeriod", .kind = Text},
    {.element = "PlanPrice", .column = "FPlanPrice", .kind = Text},
    {.element = "StandardCost", .column = "FStandardCost", .kind = Text},
    {.element = "PriceDecimal", .column = "FPriceDecimal", .kind = Text},
    {.element = "Acct", .column = "FAcctID", .kind = Link, .link = Account},
    {.element = "SaleAcct", .column = "FSaleAcctID", .kind = Link, .link = Account},
    {.element = "CostAcct", .column = "FCostAcctID", .kind = Link, .link = Account},
    {.element = "APAcct", .column = "FAPAcctID", .kind = Link, .link = Account},
    {.element = "GoodSpec", .column = "FGoodSpec", .kind = Link, .link = Assist},
    {.element = "CostItem", .column = "FCostProject", .kind = Link, .link = Item},
    {.element = "StandardManHour", .column = "FStandardManHour", .kind = Text},
    {.element = "PlanTrategy", .column = "FPlanTrategy", .kind = Link, .link = Assist},
    {.element = "OrderTrategy", .column = "FOrderTrategy", .kind = Link, .link = Assist},
    {.element = "LeadTime", .column = "FLeadTime", .kind = Text},
    {.element = "TotalLeadTime", .column = "FTotalTQQ", .kind = Text},
    {.element = "OrderInterVal", .column = "FOrderInterVal", .kind = Text},
    {.element = "QtyMin", .column = "FQtyMin", .kind = Text},
    {.element = "QtyMax", .column = "FQtyMax", .kind = Text},
    {.element = "BatchIncrement", .column = "FBatchAppendQty", .kind = Text},
    {.element = "OrderPoint", .column = "FOrderPoint", .kind = Text},
    {.element = "BatFixEconomy", .column = "FBatFixEconomy", .kind = Flag},
    {.element = "RequirePoint", .column = "FRequirePoint", .kind = Text},
    {.element = "PlanPoint", .column = "FPlanPoint", .kind = Text},
    {.element = "DefaultRouting", .column = "FDefaultRoutingID", .kind = Link, .link = Routing},
    {.element = "DefaultWorkType", .column = "FDefaultWorkTypeID", .kind = Link, .link = WorkType},
    {.element = "ProductPrincipal", .column = "FProductPrincipal", .kind = Link, .link = Item},
    {.element = "ChartNumber", .column = "FChartNumber", .kind = Text},
    {.element = "IsKeyItem", .column = "FIsKeyItem", .kind = Flag},
    {.element = "GrossWeight", .column = "FGrossWeight", .kind = Text},
    {.element = "NetWeight", .column = "FNetWeight", .kind = Text},
    {.element = "WeightMeasure", .column = "FMaund", .kind = Link, .link = Item},
    {.element = "Length", .column = "FLength", .kind = Text},
    {.element = "Width", .column = "FWidth", .kind = Text},
    {.element = "Height", .column = "FHeight", .kind = Text},
    {.element = "Size", .column = "FSize", .kind = Text},
    {.element = "LengthMeasure", .column = "FCubicMeasure", .kind = Link, .link = Item},
    {.element = "DailyConsume", .column = "FDailyConsume", .kind = Text},
    {.element = "IsMRPCon", .column = "FMRPCon", .kind = Flag, .gate = Above("2.0.0.3")},
    {.element = "FullName", .column = "FFullName", .kind = Text, .gate = Above("2.0.0.3")},
    {.element = "ProChkMde", .column = "FProChkMde", .kind = Link, .link = Assist, .gate = AtLeast("3.0.0.0")},
    {.element = "WWChkMde", .column = "FWWChkMde", .kind = Link, .link = Assist, .gate = AtLeast("3.0.0.0")},
    {.element = "SOChkMde", .column = "FSOChkMde", .kind = Link, .link = Assist, .gate = AtLeast("3.0.0.0")},
    {.element = "WthDrwChkMde", .column = "FWthDrwChkMde", .kind = Link, .link = Assist, .gate = AtLeast("3.0.0.0")},
    {.element = "StkChkMde", .column = "FStkChkMde", .kind = Link, .link = Assist, .gate = AtLeast("3.0.0.0")},
    {.element = "OtherChkMde", .column = "FOtherChkMde", .kind = Link, .link = Assist, .gate = AtLeast("3.0.0.0")},
    {.element = "StkChkPrd", .column = "FStkChkPrd", .kind = Text, .gate = AtLeast("3.0.0.0")},
    {.element = "StkChkAlrm", .column = "FStkChkAlrm", .kind = Text, .gate = AtLeast("3.0.0.0")},
    {.element = "POHghPrcMnyType", .column = "FPOHghPrcMnyType", .kind = Link, .link = Currency, .test = NonZero,
     .gate = AtLeast("3.0.0.0")},
    {.element = "SOLowPrcMnyType", .column = "FSOLowPrcMnyType", .kind = Link, .link = Currency, .test = NonZero,
     .gate = AtLeast("3.0.0.0")},
    {.element = "WWHghPrcMnyType", .column = "FWWHghPrcMnyType", .kind = Link, .link = Currency, .test = NonZero,
     .gate = AtLeast("3.0.0.0")},
    {.element = "SOLowPrc", .column = "FSOLowPrc", .kind = Text, .gate = AtLeast("3.0.0.0")},
    {.element = "WWHghPrc", .column = "FWWHghPrc", .kind = Text, .gate = AtLeast("3.0.0.0")},
    {.element = "IsEquipment", .column = "FIsEquipment", .kind = Flag, .gate = AtLeast("3.0.0.0")},
    {.element = "EquipmentNum", .column = "FEquipmentNum", .kind = Text, .gate = AtLeast("3.0.0.0")},
    {.element = "IsSparePart", .column = "FIsSparePart", .kind = Flag, .gate = AtLeast("3.0.0.0")},
    {.element = "IsSNManage", .column = "FIsSNManage", .kind = Flag, .gate = AtLeast("3.0.0.0")},
    {.element = "Version", .column = "FVersion", .kind = Text, .gate = AtLeast("3.0.0.0")},
    {.element = "FixLeadTime", .column = "FFixLeadTime", .kind = Text, .gate = Above("2.0.0.5")},
    {.element = "BatChangeEconomy", .column = "FBatChangeEconomy", .kind = Text, .gate = Above("2.0.0.5")},
    {.element = "StdPayRate", .column = "FStdPayRate", .kind = Text, .gate = Above("2.0.0.5")},
    {.element = "ChgFeeRate", .column = "FChgFeeRate", .kind = Text, .gate = Above("2.0.0.5")},
    {.element = "StdFixFeeRate", .column = "FStdFixFeeRate", .kind = Text, .gate = Above("2.0.0.5")},
    {.element = "OutMachFee", .column = "FOutMachFee", .kind = Text, .gate = Above("2.0.0.5")},
    {.element = "ProfitRate", .column = "FProfitRate", .kind = Text, .gate = Above("2.0.0.6")},

    // The tail, whose elements bear the names of their columns.
    {.element = "FOrderUnitID", .column = "FOrderUnitID", .kind = Link, .link = Unit},
    {.element = "FSaleUnitID", .column = "FSaleUnitID", .kind = Link, .link = Unit},
    {.element = "FStoreUnitID", .column = "FStoreUnitID", .kind = Link, .link = Unit},
    {.element = "FProductUnitID", .column = "FProductUnitID", .kind = Link, .link = Unit},
    {.element = "FOrderPrice", .column = "FOrderPrice", .kind = Text},
    {.element = "FSecUnitID", .column = "FSecUnitID", .kind = Link, .link = Unit},
    {.element = "FSecUnitDecimal", .column = "FSecUnitDecimal", .kind = Number},
    {.element = "FSecCoefficient", .column = "FSecCoefficient", .kind = Text},
    {.element = "FInHighLimit", .column = "FInHighLimit", .kind = Text},
    {.element = "FInLowLimit", .column = "FInLowLimit", .kind = Text},
    {.element = "FPutInteger", .column = "FPutInteger", .kind = Flag},
    {.element = "FPieceRate", .column = "FPieceRate", .kind = Text},
    {.element = "Fplanner", .column = "Fplanner", .kind = Link, .link = Item},
    {.element = "FLastCheckDate", .column = "FLastCheckDate", .kind = Text},
    {.element = "FCheckCycle", .column = "FCheckCycle", .kind = Number},
    {.element = "FCheckCycUnit", .column = "FCheckCycUnit", .kind = Link, .link = Assist},
    {.element = "FDaysPer", .column = "FDaysPer", .kind = Number},
    {.element = "FOIHighLimit", .column = "FOIHighLimit", .kind = Text},
    {.element = "FOILowLimit", .column = "FOILowLimit", .kind = Text},
    {.element = "FSOHighLimit", .column = "FSOHighLimit", .kind = Text},
    {.element = "FSOLowLimit", .column = "FSOLowLimit", .kind = Text},
};

// Peers expect the newer columns of the main set in this order in the SET list: the check modes and
// price limits before the MRP flag and full name, and the currencies and limits of the purchase price
// before those of the sale price.
constexpr const char* kMaterialImportOrder[] = {
    "ProChkMde", "WWChkMde",  "SOChkMde",    "WthDrwChkMde", "StkChkMde",   "OtherChkMde",
    "StkChkPrd", "StkChkAlrm", "POHghPrcMnyType", "WWHghPrcMnyType", "SOLowPrcMnyType", "WWHghPrc",
    "SOLowPrc",  "IsEquipment", "EquipmentNum", "IsSparePart",  "IsSNManage",  "Version",
    "IsMRPCon",  "FullName",
};

}  // namespace

clsMaterial::clsMaterial()
    : ItemTypeShell(kItemClassID, FieldMap(kMaterialFields, {.importOrder = kMaterialImportOrder})) {}

QUILLANE_REGISTER_CLASS("Quillane.clsMaterial", clsMaterial)

}  // namespace quillane
