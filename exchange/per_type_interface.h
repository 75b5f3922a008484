// The interface every per-type class offers the facade and its other callers, item types and standalone
// types alike: the two operations, the options and the count of failed records, with their dispatch
// ids. The events Progress (id 1) and DirtyRecord (id 2) go with it.
#pragma once

#include <cstdint>

#include "platform/automation/object.h"

namespace quillane {

// Where HaveInterFace stands among the members: last (id 8), or third (id 3, right after Import, the
// options and ErrorCount one id further on) as the stock places' interface has it.
enum class HaveInterFaceSlot { Last, Third };

// The member that tells what the last Import did with its records, apart from the others' ids.
inline constexpr DispId kImportCountsDispId = 40;

// The members of class T, which declares them with these signatures:
//   bool Export(std::string& strPropsString, std::string& strXML, std::int32_t lPerCount,
//               std::string& strTimeStamp, std::string& strMaxTimeStamp, std::string& strError);
//   bool Import(std::string& strPropsString, std::string strXML, std::string& strError, Variant lSystemType);
//   void setFilter(std::string), setCheckByUUID(bool), setAddNewOnly(bool), setbProgress(bool),
//        setHaveInterFace(bool); std::int32_t ErrorCount() const;
//   std::shared_ptr<TrzRecord> ImportCounts() const (modFunction::ImportCounts::ToRecord).
// export_ may name another member for Export (one that takes strPropsString by value).
template <class T, class ExportMember = decltype(&T::Export)>
DispatchTable PerTypeDispatchTable(ExportMember export_ = &T::Export,
                                  HaveInterFaceSlot slot = HaveInterFaceSlot::Last) {
  const bool third = slot == HaveInterFaceSlot::Third;
  const DispId shift = third ? 1 : 0;
  DispatchBuilder<T> members;
  members.method("Export", 1, export_, {Variant(std::int32_t{100}), Variant(""), Variant(""), Variant("")})
      .method("Import", 2, &T::Import, {Variant(std::int16_t{1})});
  if (third) members.let("HaveInterFace", 3, &T::setHaveInterFace);
  members.let("Filter", 3 + shift, &T::setFilter)
      .let("CheckByUUID", 4 + shift, &T::setCheckByUUID)
      .let("AddNewOnly", 5 + shift, &T::setAddNewOnly)
      .let("bProgress", 6 + shift, &T::setbProgress)
      .get("ErrorCount", 7 + shift, &T::ErrorCount);
  if (!third) members.let("HaveInterFace", 8, &T::setHaveInterFace);
  members.get("ImportCounts", kImportCountsDispId, &T::ImportCounts);
  return members.build();
}

}  // namespace quillane
