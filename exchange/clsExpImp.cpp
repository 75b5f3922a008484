#include "exchange/clsExpImp.h"

#include <optional>
#include <vector>

#include "exchange/MParse.h"
#include "exchange/mdlLanguage.h"
#include "exchange/modFunction.h"
#include "exchange/per_type_interface.h"
#include "platform/automation/factory.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/yield.h"
#include "platform/xml/bounded_page.h"

namespace quillane {

namespace {

constexpr const char* kSource = "Tarnwick.clsExpImp";
constexpr const char* kDataKeyProgID = "Quillane.clsDataKey";
constexpr const char* kItemClassProgID = "Quillane.clsItemClass";

using Member = clsExpImp::Member;

// The class behind each member, in the order of the members.
constexpr const char* kClassNames[] = {
    "clsAccount",          "clsAssist",       "clsAuxProp",    "clsCurrency",     "clsCustomer",     "clsDepartment",
    "clsEmployee",         "clsFee",          "clsMaterial",   "clsMeasureUnit",  "clsStock",        "clsSubCompany",
    "clsSupplier",         "clsVoucherGroup", "clsWorkCenter", "clsCashFlowItem", "clsCBCostObject", "clsCBCostItem",
    "clsCBExpenseElement", "clsCBService",    "clsSettle",     "clsItemClass",    "clsStockPlace",
};
static_assert(std::size(kClassNames) == static_cast<std::size_t>(Member::Count));

// The ItemObject values the facade accepts; the alias (0: none) selects the same class.
struct ItemObject {
  std::int32_t lIO;
  std::int32_t alias;
  Member member;
};
constexpr ItemObject kItemObjects[] = {
    {1, 0, Member::Account},         {2, 122, Member::Assist},        {3, 103, Member::Currency},
    {4, 106, Member::MeasureUnit},   {5, 110, Member::Customer},      {6, 120, Member::Department},
    {7, 118, Member::Employee},      {8, 116, Member::Material},      {9, 112, Member::Stock},
    {11, 114, Member::Supplier},     {12, 108, Member::SubCompany},   {13, 126, Member::WorkCenter},
    {14, 127, Member::CBCostObject}, {15, 129, Member::CBCostItem},   {16, 0, Member::CBExpenseElement},
    {17, 0, Member::CBService},      {18, 130, Member::Fee},          {19, 0, Member::VoucherGroup},
    {20, 0, Member::AuxProp},        {21, 128, Member::CashFlowItem}, {22, 107, Member::Settle},
    {24, 125, Member::StockPlace},
};

Member MemberOf(std::int32_t lIO) {
  for (const ItemObject& entry : kItemObjects)
    if (entry.lIO == lIO || (entry.alias != 0 && entry.alias == lIO)) return entry.member;
  throw AutomationError(kLibraryRefusal, kSource, mdlLanguage::LoadLangString("不支持该类型数据的引入引出!"));
}

// The item class of the data types kept in the item table.
struct ItemClassOf {
  std::int32_t lIO;
  std::int32_t lItemClassID;
};
constexpr ItemClassOf kItemClasses[] = {
    {5, 1},  {6, 2},   {7, 3},   {8, 4},     {9, 5},     {10, 6},    {4, 7},     {11, 8},
    {21, 9}, {12, 10}, {13, 14}, {14, 2001}, {17, 2002}, {15, 2003}, {16, 2004}, {18, 2014},
};

// The ERP's access object of each data type (FObjectType, FObjectID); others have (0, 0).
struct AccessObject {
  std::int32_t lIO;
  std::int16_t iObjectType;
  std::int32_t lObjectID;
};
constexpr AccessObject kAccessObjects[] = {
    {2, 2004, 0},  {3, 1, 0},     {4, 7, 0},   {5, 3, 1},   {6, 3, 2},     {7, 3, 3},     {8, 3, 4},
    {9, 3, 5},     {11, 3, 8},    {12, 3, 10}, {13, 3, 14}, {14, 3, 2001}, {15, 3, 2003}, {16, 3, 2004},
    {17, 3, 2002}, {18, 3, 2014}, {19, 5, 0},  {20, 3, 4},  {21, 3, 9},    {22, 10, 0},   {23, 3, 0},
};

}  // namespace

clsExpImp::~clsExpImp() { ReleaseObjects(); }

ObjectRef clsExpImp::CreateMember(Member member) {
  ObjectRef object =
      modFunction::CreateObjectEx(std::string("Quillane.") + kClassNames[static_cast<std::size_t>(member)], "", true);
  SetMember(member, object);
  return object;
}

ObjectRef clsExpImp::CreateConfigured(std::int32_t lIO) {
  Member member = MemberOf(lIO);
  ObjectRef object = CreateMember(member);
  // The auxiliary properties call back into this facade for their custom-class files.
  if (member == Member::AuxProp) object->Set("oExpImp", weak_from_this().lock());
  object->Let("bProgress", Variant(m_bProgress));
  object->Let("Filter", Variant(m_strFilter));
  return object;
}

void clsExpImp::SetMember(Member member, ObjectRef object) {
  Slot& slot = m_members[static_cast<std::size_t>(member)];
  // A member stops relaying the events of the object it no longer holds.
  if (slot.object) slot.object->Unadvise(slot.cookie);
  slot = Slot{};
  if (!object) return;
  slot.cookie = object->Advise(
      // Departments' progress has never yielded; their callers pump on their own.
      [this, yieldAfterProgress = member != Member::Department](std::string_view event, DispId, Arguments args) {
        RelayEvent(yieldAfterProgress, event, args);
      });
  slot.object = std::move(object);
}

void clsExpImp::ReleaseObjects() {
  for (std::size_t i = 0; i < m_members.size(); ++i) SetMember(static_cast<Member>(i), nullptr);
}

void clsExpImp::RelayEvent(bool yieldAfterProgress, std::string_view event, Arguments args) {
  if (event == "Progress") {
    // Only the caller's answer travels back to the object that asked.
    args[2] = Variant(false);
    RaiseEvent("Progress", kProgress, args);
    if (CBool(args[2])) m_bCancelled = true;
    if (yieldAfterProgress) YieldToMessageLoop();
  } else if (event == "DirtyRecord") {
    RaiseEvent("DirtyRecord", kDirtyRecord, args);
    YieldToMessageLoop();
  }
}

modFunction::ImportCounts clsExpImp::AddErrorCount(const ObjectRef& object) {
  const std::int32_t failed = CLng(object->Get("ErrorCount"));
  AddErrors(failed);
  modFunction::ImportCounts counts;
  m_lastImportTold = true;
  try {
    counts = modFunction::ImportCounts::Of(object);
  } catch (const AutomationError& e) {
    if (e.number != static_cast<std::int32_t>(VbError::MemberNotSupported)) throw;
    counts.failed = failed;
    m_lastImportTold = false;
  }
  m_counts.Add(counts);
  return counts;
}

void clsExpImp::AddErrors(std::int32_t lCount) {
  std::int64_t sum = std::int64_t{m_lErrorCount} + lCount;
  if (sum > INT32_MAX || sum < INT32_MIN) throw vbError(VbError::Overflow);
  m_lErrorCount = static_cast<std::int32_t>(sum);
}

bool clsExpImp::Export(std::string strPropsString, std::int32_t lIO, std::string& strXML, std::int32_t lPerCount,
                       std::string& strTimeStamp, std::string& strMaxTimeStamp, std::string& strError) {
  bool result = false;
  try {
    // Held by the call: a nested call from an event may replace the member, never free this object.
    ObjectRef object = CreateConfigured(lIO);
    std::vector<Variant> args{Variant(strPropsString), Variant(strXML),          Variant(lPerCount),
                              Variant(strTimeStamp),   Variant(strMaxTimeStamp), Variant(strError)};
    result = CBool(object->Call("Export", args));
    strXML = CStr(args[1]);
    strTimeStamp = CStr(args[3]);
    strMaxTimeStamp = CStr(args[4]);
    strError = CStr(args[5]);
    AddErrorCount(object);
  } catch (const AutomationError& e) {
    strError = modFunction::FormatErrInfo(e, "");
  }
  ReleaseObjects();
  return result;
}

bool clsExpImp::Import(std::string strPropsString, std::int32_t lIO, std::string strXML, std::string& strError,
                       Variant lSystemType) {
  // A record past the bound of a bulk file's records fails alone, before the page is read into records:
  // read, checked and quoted whole it would take many times its size.
  BoundedPage bounded = BoundPage(strXML);
  if (bounded.refused.empty()) return ImportRecords(strPropsString, lIO, std::move(strXML), strError, lSystemType);
  std::string().swap(strXML);
  ImportRecords(strPropsString, lIO, std::move(bounded.text), strError, lSystemType);
  std::string refusals;
  for (const std::string& record : bounded.refused)
    refusals += mdlLanguage::LoadLangString("记录的文本超过了上限，未导入:") + record + "\r\n";
  strError = refusals + strError;
  const auto refused = static_cast<std::int32_t>(bounded.refused.size());
  AddErrors(refused);
  m_counts.failed += refused;
  // The refused records failed, whatever became of the others.
  return false;
}

bool clsExpImp::ImportRecords(const std::string& strPropsString, std::int32_t lIO, std::string strXML,
                              std::string& strError, const Variant& lSystemType) {
  bool result = false;
  try {
    ObjectRef object = CreateConfigured(lIO);
    object->Let("HaveInterFace", Variant(m_bHaveInterFace));
    object->Let("CheckByUUID", Variant(m_bCheckByUUID));
    object->Let("AddNewOnly", Variant(m_bAddNewOnly));
    std::vector<Variant> args{Variant(strPropsString), Variant(std::move(strXML)), Variant(strError), lSystemType};
    // The auxiliary properties import through this facade's own file import, which counts into the
    // facade too; what the object reports of its call holds those records, and is counted once.
    const bool nested = MemberOf(lIO) == Member::AuxProp;
    const modFunction::ImportCounts countsBefore = nested ? m_counts : modFunction::ImportCounts();
    const std::int32_t errorsBefore = m_lErrorCount;
    result = CBool(object->Call("Import", args));
    strError = CStr(args[2]);
    if (nested) {
      m_counts = countsBefore;
      m_lErrorCount = errorsBefore;
    }
    AddErrorCount(object);
  } catch (const AutomationError& e) {
    strError = modFunction::FormatErrInfo(e, "");
  }
  ReleaseObjects();
  return result;
}

void clsExpImp::setbProgress(bool bProgress) {
  m_bProgress = bProgress;
  YieldToMessageLoop();
}

bool clsExpImp::ExportXMLDataKey(std::string strPropsString, std::int32_t lIO, std::string& strXML,
                                 std::int32_t lPerCount, std::string& strTimeStamp, std::string& strMaxTimeStamp,
                                 std::string& strError) {
  ObjectRef keys = modFunction::CreateObjectEx(kDataKeyProgID, "", true);
  std::vector<Variant> args{Variant(strPropsString), Variant(lIO),          Variant(strXML),
                            Variant(lPerCount),      Variant(strTimeStamp), Variant(strMaxTimeStamp),
                            Variant(strError)};
  bool result = CBool(keys->Call("ExportXMLDataKey", args));
  strXML = CStr(args[2]);
  strTimeStamp = CStr(args[4]);
  strMaxTimeStamp = CStr(args[5]);
  strError = CStr(args[6]);
  return result;
}

bool clsExpImp::ImportXMLDataKey(std::string& strPropsString, std::int32_t lIO, std::string strXML,
                                 std::string& strError) {
  ObjectRef keys = modFunction::CreateObjectEx(kDataKeyProgID, "", true);
  std::vector<Variant> args{Variant(strPropsString), Variant(lIO), Variant(strXML), Variant(strError)};
  bool result = CBool(keys->Call("ImportXMLDataKey", args));
  strPropsString = CStr(args[0]);
  strError = CStr(args[3]);
  AddErrorCount(keys);
  return result;
}

namespace {

// The two item-class listings differ only in the member they call.
Variant ItemClassNames(std::string_view strMember, std::string strPropsString, bool& bOnlyCustomer,
                       std::string& strError) {
  ObjectRef classes = modFunction::CreateObjectEx(kItemClassProgID, "", true);
  std::vector<Variant> args{Variant(std::move(strPropsString)), Variant(bOnlyCustomer), Variant(strError)};
  Variant names = classes->Call(strMember, args);
  bOnlyCustomer = CBool(args[1]);
  strError = CStr(args[2]);
  return names;
}

}  // namespace

Variant clsExpImp::GetItemClassNames(std::string strPropsString, bool& bOnlyCustomer, std::string& strError) {
  return ItemClassNames("GetItemClassNames", std::move(strPropsString), bOnlyCustomer, strError);
}

Variant clsExpImp::GetItemClassNamesEx(std::string strPropsString, bool& bOnlyCustomer, std::string& strError) {
  return ItemClassNames("GetItemClassNamesEx", std::move(strPropsString), bOnlyCustomer, strError);
}

bool clsExpImp::IsCustItemClass(std::string strPropsString, std::string strICName) {
  ObjectRef classes = modFunction::CreateObjectEx(kItemClassProgID, "", true);
  std::vector<Variant> args{Variant(std::move(strPropsString)), Variant(std::move(strICName))};
  return CBool(classes->Call("IsCustItemClass", args));
}

bool clsExpImp::CheckRight(std::string strPropsString) {
  std::string strDiscarded;
  return modFunction::InitProps(strPropsString, strDiscarded);
}

std::int32_t clsExpImp::GetItemClassID(std::int32_t lIO) {
  for (const ItemClassOf& entry : kItemClasses)
    if (entry.lIO == lIO) return entry.lItemClassID;
  return 0;
}

bool clsExpImp::CheckObjectRight(std::string_view strPropsString, std::int32_t lIO, std::int32_t lMask) {
  MParse::ParseProps(strPropsString);
  for (const AccessObject& entry : kAccessObjects)
    if (entry.lIO == lIO) return modFunction::HasAccessRight(entry.iObjectType, entry.lObjectID, lMask);
  return modFunction::HasAccessRight(0, 0, lMask);
}

const DispatchTable& clsExpImp::dispatchTable() const {
  static const DispatchTable table =
      DispatchBuilder<clsExpImp>()
          .method("Export", 1, &clsExpImp::Export, {Variant(std::int32_t{100}), Variant(""), Variant(""), Variant("")})
          .method("Import", 2, &clsExpImp::Import, {Variant(std::int16_t{1})})
          .let("Filter", 3, &clsExpImp::setFilter)
          .let("CheckByUUID", 4, &clsExpImp::setCheckByUUID)
          .let("AddNewOnly", 5, &clsExpImp::setAddNewOnly)
          .method("ExportXMLDataKey", 6, &clsExpImp::ExportXMLDataKey,
                  {Variant(std::int32_t{100}), Variant(""), Variant(""), Variant("")})
          .method("ImportXMLDataKey", 7, &clsExpImp::ImportXMLDataKey)
          .let("bProgress", 8, &clsExpImp::setbProgress)
          .method("ExportPreIOToFile", 9, &clsExpImp::ExportPreIOToFile,
                  {Variant(std::int32_t{500}), Variant(""), Variant(""), Variant("")})
          .method("ImportPreIOFromFile", 10, &clsExpImp::ImportPreIOFromFile,
                  {Variant(std::int32_t{500}), Variant("")})
          .method("ExportCustIOToFile", 11, &clsExpImp::ExportCustIOToFile,
                  {Variant(std::int32_t{500}), Variant(""), Variant(""), Variant("")})
          .method("ImportCustIOFromFile", 12, &clsExpImp::ImportCustIOFromFile,
                  {Variant(std::int32_t{500}), Variant("")})
          .method("GetItemClassNames", 13, &clsExpImp::GetItemClassNames, {Variant(false), Variant("")})
          .method("GetItemClassNamesEx", 14, &clsExpImp::GetItemClassNamesEx, {Variant(false), Variant("")})
          .method("IsCustItemClass", 15, &clsExpImp::IsCustItemClass)
          .get("ErrorCount", 16, &clsExpImp::ErrorCount)
          .method("CheckRight", 17, &clsExpImp::CheckRight)
          .let("HaveInterFace", 18, &clsExpImp::setHaveInterFace)
          .let("ErrorCount", 16, &clsExpImp::setErrorCount)
          .get("ImportCounts", kImportCountsDispId, &clsExpImp::ImportCounts)
          .build();
  return table;
}

QUILLANE_REGISTER_CLASS("Quillane.clsExpImp", clsExpImp)

}  // namespace quillane
