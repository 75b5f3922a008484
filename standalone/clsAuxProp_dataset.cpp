// GetDataSet: the auxiliary-property classes as flat records. A class of FType 3 is one property: a
// record per item, its name extended by the item's value. A class of FType 4 combines the properties
// its descriptions point to (FSearch): a record per item, the property name made of the item's values.
#include "exchange/modFunction_connection.h"
#include "platform/automation/errors.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"
#include "platform/automation/yield.h"
#include "platform/xml/TrzRecord.h"
#include "standalone/clsAuxProp.h"

namespace quillane::standalone {
namespace {

struct ClassPart {
  std::string number, name;
  std::int16_t type;
  std::string propName, length, children;
};

// A value joined into a longer text: Null adds nothing.
std::string Joined(const Variant& value) { return value.isNull() ? std::string() : CStr(value); }

void AppendWithSlash(std::string& text, const std::string& part) {
  if (!text.empty()) text += "/";
  text += part;
}

void AddRecord(TrzRecords& vect, const ClassPart& c, const std::string& propName, const std::string& itemNumber,
               const std::string& itemName) {
  auto record = std::make_shared<TrzRecord>();
  record->SetValue("ClassNumber", Variant(std::string(Trim(c.number))));
  record->SetValue("ClassName", Variant(std::string(Trim(c.name))));
  record->SetValue("ClassType", Variant(c.type));
  record->SetValue("PropName", Variant(std::string(Trim(propName))));
  record->SetValue("ItemNumber", Variant(itemNumber));
  record->SetValue("ItemName", Variant(itemName));
  record->SetValue("Lenth", Variant(c.length));
  record->SetValue("ChildID", Variant(std::string(Trim(c.children))));
  vect.Add(Variant(ObjectRef(record)));
}

}  // namespace

bool clsAuxProp::GetDataSet(std::shared_ptr<TrzRecords>& vect) {
  m_bCancel = false;
  if (!vect) throw vbError(VbError::ObjectNotSet, "Quillane.clsAuxProp");
  ObjectRef classes = Query("SELECT * FROM t_ItemClass WHERE FType=3 OR Ftype=4 ORDER BY FType");
  if (modFunction::IsEOF(classes)) return false;
  for (; !modFunction::IsEOF(classes); modFunction::MoveNext(classes)) {
    PackageItemClass(classes, *vect);
    if (m_bCancel) break;
  }
  return true;
}

void clsAuxProp::PackageItemClass(const ObjectRef& classes, TrzRecords& vect) {
  const std::string id = std::to_string(CLng(modFunction::FieldValue(classes, "FItemClassID")));
  ClassPart c;
  c.type = CLng(modFunction::FieldValue(classes, "FType")) == 3 ? 3 : 4;
  std::int32_t properties = 0;
  if (c.type == 4) {
    ObjectRef searches = Query("SELECT FSearch FROM t_ItemPropDesc WHERE FItemClassID=" + id);
    if (modFunction::IsEOF(searches)) return;
    properties = CLng(searches->Get("RecordCount"));
    c.children = GetNameBySearch(searches);
    c.length = "10";
  } else {
    // A property class has one description of its own (it looks nothing up).
    ObjectRef desc = Query("SELECT FName,FPrecision FROM t_ItemPropDesc WHERE FItemClassID=" + id +
                           " AND (FSearch IS NULL OR FSearch=0)");
    c.propName = CStr(modFunction::FieldValue(desc, "FName"));
    c.length = CStr(modFunction::FieldValue(desc, "FPrecision"));
  }
  ObjectRef items = Query("SELECT * FROM t_Item WHERE FItemClassID=" + id);
  c.number = CStr(modFunction::FieldValue(classes, "FNumber"));
  c.name = CStr(modFunction::FieldValue(classes, "FName"));
  if (modFunction::IsEOF(items)) {
    AddRecord(vect, c, c.propName, "", "");
    return;
  }
  const std::int32_t total = CLng(items->Get("RecordCount"));
  const std::string valueTable = Joined(modFunction::FieldValue(classes, "FSQLTableName"));
  for (std::int32_t count = 0; !modFunction::IsEOF(items);) {
    const std::string itemID = std::to_string(CLng(modFunction::FieldValue(items, "FItemID")));
    const std::string number = CStr(modFunction::FieldValue(items, "FNumber"));
    std::string name = CStr(modFunction::FieldValue(items, "FName"));
    std::string propName = c.propName;
    if (c.type == 4) {
      // A combination's values stand in its own table, one column per property in their order.
      for (std::int32_t k = 1; k <= properties; ++k) {
        const std::string column = "F_" + std::to_string(100 + k);
        ObjectRef value = Query("SELECT " + column + " FROM t_Item_" + id + " WHERE FItemID=" + itemID);
        if (!modFunction::IsEOF(value)) AppendWithSlash(propName, Joined(modFunction::FieldValue(value, column)));
      }
    } else {
      ObjectRef value = Query("SELECT * from " + valueTable + " where FItemID=" + itemID);
      if (!modFunction::IsEOF(value)) name += "/" + Joined(modFunction::FieldValue(value, "F_101"));
    }
    AddRecord(vect, c, propName, number, name);
    modFunction::MoveNext(items);
    YieldToMessageLoop();
    RaiseProgress(++count, total);
    if (m_bCancel) break;
  }
}

std::string clsAuxProp::GetNameBySearch(const ObjectRef& searches) {
  std::string names;
  for (; !modFunction::IsEOF(searches); modFunction::MoveNext(searches)) {
    const Variant search = modFunction::FieldValue(searches, "FSearch");
    // A description that looks nothing up names no class.
    if (search.isNull()) continue;
    ObjectRef rs = Query("SELECT FName FROM t_ItemClass WHERE FItemClassID=" + std::to_string(CLng(search)));
    if (!modFunction::IsEOF(rs)) AppendWithSlash(names, CStr(modFunction::FieldValue(rs, "FName")));
  }
  return names;
}

}  // namespace quillane::standalone
