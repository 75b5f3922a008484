// "Quillane.clsAssist": auxiliary data, short coded lists (an entry's number and name) under named
// types. An industrial account set keeps them in t_SubMessage under the types of t_SubMesType, a
// commercial one in com_SysType under the classes of com_SysTypeClass; every call chooses by the kind
// of account set its props string names. The ERP's predefined commercial entries are left alone.
#pragma once

#include <cstdint>
#include <string>

#include "standalone/standalone_class.h"

namespace quillane::standalone {

class clsAssist : public StandaloneClass {
 public:
  clsAssist();

 protected:
  const StandaloneType& type() const override;
  // AssistType, from the entry's type.
  void PackOwnKey(const Field& field, const ObjectRef& rs, TrzRecord& record) override;
  void BeginPage() override;
  // The type (found or made), then the entry.
  std::int32_t ImportRecord(const TrzRecord& record) override;

 private:
  // The tables of one kind of account set: the entries (the descriptor) and their types.
  struct Family;
  static const Family& family();

  // The type of the row packed last: a run of entries of one type reads it once.
  struct AssistType {
    std::int32_t id = 0;
    std::string name, uuid;
  };

  // An industrial entry of this number and name that exists only outside every known type: the record
  // is passed over.
  bool IsOrphan(const std::string& strNumber, const std::string& strName);
  std::int32_t ImportType(const TrzRecord& assistType);
  // The entry of the number under the type; 0 when none, or when number and name are both empty.
  std::int32_t GetIDByNumber(const std::string& strNumber, const std::string& strName, std::int32_t lTypeID);
  std::int32_t AddEntry(const std::string& strNumber, const std::string& strName, std::int32_t lTypeID);
  void UpdateEntry(const TrzRecord& record, std::int32_t lID, std::int32_t lTypeID);

  AssistType m_Type;
};

}  // namespace quillane::standalone
