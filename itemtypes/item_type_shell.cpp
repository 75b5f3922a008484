#include "itemtypes/item_type_shell.h"

#include <utility>

#include "exchange/per_type_interface.h"
#include "platform/automation/vbconv.h"

namespace quillane {

ItemTypeShell::ItemTypeShell(std::int32_t lItemClassID, FieldMap fields, PropsString props)
    : fields_(std::move(fields)), props_(props) {
  oItem->ItemClassID = lItemClassID;
  // The engine lives exactly as long as this object, so its sink may hold this object's address.
  oItem->Advise([this](std::string_view, DispId id, Arguments args) {
    switch (id) {
      case clsItem::kCommonPacketSpecial: oItem_CommonPacketSpecial(args); break;
      case clsItem::kCommonImportSpecial: oItem_CommonImportSpecial(args); break;
      // The relays hand the same arguments on, so what the caller's sink writes reaches the engine.
      case clsItem::kProgress: RaiseEvent("Progress", kProgress, args); break;
      case clsItem::kDirtyRecord: RaiseEvent("DirtyRecord", kDirtyRecord, args); break;
    }
  });
}

bool ItemTypeShell::Export(std::string& strPropsString, std::string& strXML, std::int32_t lPerCount,
                           std::string& strTimeStamp, std::string& strMaxTimeStamp, std::string& strError) {
  return oItem->Export(strPropsString, strXML, lPerCount, strTimeStamp, strMaxTimeStamp, strError);
}

bool ItemTypeShell::Import(std::string& strPropsString, std::string strXML, std::string& strError,
                           Variant lSystemType) {
  oItem->HaveInterFace = m_HaveInterFace;
  return oItem->Import(strPropsString, std::move(strXML), strError, std::move(lSystemType));
}

void ItemTypeShell::oItem_CommonPacketSpecial(Arguments args) {
  PacketFields(*oItem, fields_, args[0].object(), *args[1].objectAs<TrzRecord>());
}

void ItemTypeShell::oItem_CommonImportSpecial(Arguments args) {
  std::string strSQL = CStr(args[1]);
  ImportFields(*oItem, fields_, *args[0].objectAs<TrzRecord>(), strSQL);
  args[1] = Variant(std::move(strSQL));
}

const DispatchTable& ItemTypeShell::dispatchTable() const {
  // The two interfaces differ only in how Export takes its props string.
  static const DispatchTable byReference = PerTypeDispatchTable<ItemTypeShell>(&ItemTypeShell::Export);
  static const DispatchTable byValue = PerTypeDispatchTable<ItemTypeShell>(&ItemTypeShell::ExportPropsByValue);
  return props_ == PropsString::ByValue ? byValue : byReference;
}

}  // namespace quillane
