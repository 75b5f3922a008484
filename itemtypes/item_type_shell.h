// The public class of an item type: a thin shell around one item engine. It tells the engine its item
// class, forwards the common exchange interface to it, relays its Progress and DirtyRecord events, and
// answers its two field events from the type's field map. An item type is a shell with its item class
// and field map; a type without a detail table (cash-flow items) has an empty map, whose events the
// engine never raises.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "exchange/clsItem.h"
#include "itemtypes/field_map.h"
#include "platform/automation/object.h"

namespace quillane {

class ItemTypeShell : public AutomationObject {
 public:
  // The events every item type raises, with their dispatch ids:
  //   Progress(lCur, lTotal, bCancel): bCancel by reference, handed back to the engine.
  //   DirtyRecord(ItemClassID, Counts, ContentStr), all by reference.
  static constexpr DispId kProgress = 1;
  static constexpr DispId kDirtyRecord = 2;

  // The common interface, in the order of its dispatch ids (1 to 8).
  // One page of the type's records as XML (see clsItem::Export); the by-reference texts come back.
  // A shell made with PropsString::ByValue takes strPropsString by value in its dispatch interface.
  bool Export(std::string& strPropsString, std::string& strXML, std::int32_t lPerCount, std::string& strTimeStamp,
              std::string& strMaxTimeStamp, std::string& strError);
  // Imports a document (see clsItem::Import), with the HaveInterFace last set.
  bool Import(std::string& strPropsString, std::string strXML, std::string& strError, Variant lSystemType);
  void setFilter(std::string strFilter) { oItem->Filter = std::move(strFilter); }
  void setCheckByUUID(bool bCheck) { oItem->CheckByUUID = bCheck; }
  void setAddNewOnly(bool bAddNewOnly) { oItem->AddNewOnly = bAddNewOnly; }
  void setbProgress(bool bProgress) { oItem->bProgress = bProgress; }
  std::int32_t ErrorCount() const { return oItem->ErrorCount(); }
  std::shared_ptr<TrzRecord> ImportCounts() const { return oItem->ImportCounts(); }
  // Kept here and handed to the engine by the next Import only.
  void setHaveInterFace(bool bHaveInterFace) { m_HaveInterFace = bHaveInterFace; }

  const DispatchTable& dispatchTable() const override;

 protected:
  // How Export takes strPropsString from a late-bound caller.
  enum class PropsString { ByReference, ByValue };
  ItemTypeShell(std::int32_t lItemClassID, FieldMap fields, PropsString props = PropsString::ByReference);

 private:
  bool ExportPropsByValue(std::string strPropsString, std::string& strXML, std::int32_t lPerCount,
                          std::string& strTimeStamp, std::string& strMaxTimeStamp, std::string& strError) {
    return Export(strPropsString, strXML, lPerCount, strTimeStamp, strMaxTimeStamp, strError);
  }
  void oItem_CommonPacketSpecial(Arguments args);
  void oItem_CommonImportSpecial(Arguments args);

  std::shared_ptr<clsItem> oItem = std::make_shared<clsItem>();
  bool m_HaveInterFace = false;
  FieldMap fields_;
  PropsString props_;
};

}  // namespace quillane
