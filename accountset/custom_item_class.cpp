#include "accountset/custom_item_class.h"

namespace quillane::accountset {
namespace {

// One access type of a new class: its object type, index, mask, the mask of the right it needs, its
// name, its description (before and after the class name) and the groups that hold it.
struct AccessType {
  std::int32_t objectType;
  std::int32_t index;
  std::int32_t mask;
  std::int32_t use;
  const char* name;
  const char* before;
  const char* after;
  std::vector<std::int32_t> groups;
};

const std::vector<AccessType>& AccessTypes() {
  static const std::vector<AccessType> types = {
      {2002, 2, 1048576, 0, "查看", "可查看", "附件的内容", {1, 2}},
      {2002, 5, 4194304, 1048576, "编辑", "可编辑", "附件的内容", {2}},
      {2002, 6, 65536, 1048576, "删除", "可删除", "附件的内容", {2}},
      {3, 7, 16777216, 3276800, "引入", "用户可引入", "的信息", {2}},
      {3, 8, 8388608, 3145728, "引出", "用户可引出", "的信息", {2}},
      {3, 9, 33554432, 3145728, "打印", "用户可打印", "的信息", {2}},
      {3, 10, 33554432, 3145728, "审核", "用户可审核", "的信息", {2}},
      {3, 11, 33554432, 3145728, "反审核", "用户可反审核", "的信息", {2}},
  };
  return types;
}

std::string quoted(std::string_view text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("''") : std::string(1, c);
  return out + "'";
}

}  // namespace

std::string CreateClassTable(std::string_view strTableName) {
  return "CREATE TABLE " + std::string(strTableName) +
         "(FItemID int Not NULL PRIMARY KEY, FModifyTime TIMESTAMP NULL,FNumber varchar(80),FName varchar(255))";
}

std::string PropertyColumnType(std::int32_t lDataType, std::string_view strActualSize) {
  switch (lDataType) {
    case 2: return "smallint";
    case 3: return "int";
    case 4: return "real";
    case 5: return "float";
    case 6: return "money";
    case 7:
    case 135: return "datetime";
    case 11: return "bit";
    case 14: return "decimal";
    case 200: return "varchar(" + std::string(strActualSize) + ")";
    default: return "varchar(10)";
  }
}

std::vector<std::string> NewItemClassRights(std::int32_t lItemClassID, std::string_view strName,
                                            const TranslateText& translate) {
  const std::string id = std::to_string(lItemClassID), name = quoted(strName);
  // The class's own access types of object type 3: the template's types of these indexes are not copied.
  std::string ownIndexes;
  for (const AccessType& t : AccessTypes())
    if (t.objectType == 3) ownIndexes += (ownIndexes.empty() ? "" : ",") + std::to_string(t.index);

  std::string copy =
      "insert t_ObjectType(FObjectType,FObjectID,FName,FName_cht,FName_en,FDescription,FDescription_cht,FDescription_en) "
      "values(3," + id + "," + name + "," + name + "," + name + ",'','','')"
      "; insert t_objectaccess select fgroupid,3," + id + ",findex from t_objectaccess where fobjecttype=3 and fobjectid=20"
      "; insert t_objectAccessType Select 3," + id +
      ",FIndex,FAccessMask,FAccessUse,FName,FDescription,FName_Cht,FName_En,FDescription_Cht,FDescription_En "
      "from t_ObjectAccessType where fobjecttype=3 and fobjectid=20 and findex not in (" + ownIndexes + ")";

  std::string attachments = "insert t_ObjectType(FObjectType,FObjectID,FName,FName_cht,FName_en) values (2002," + id +
                            "," + name + "," + name + "," + name + ")";
  std::string own;
  for (const AccessType& t : AccessTypes()) {
    const std::string typeName = quoted(translate(t.name));
    const std::string description = quoted(translate(t.before) + std::string(strName) + translate(t.after));
    std::string row = "; insert t_objectaccesstype(FObjectType,FObjectID,FIndex,FAccessMask,FAccessUse,FName,FName_cht,"
                      "FName_en,FDescription,FDescription_cht,FDescription_en) values(" +
                      std::to_string(t.objectType) + "," + id + "," + std::to_string(t.index) + "," +
                      std::to_string(t.mask) + "," + std::to_string(t.use) + "," + typeName + "," + typeName + "," +
                      typeName + "," + description + "," + description + "," + description + ")";
    for (std::int32_t group : t.groups) {
      // A group may hold the right already through the template.
      const std::string grant = std::to_string(group) + "," + std::to_string(t.objectType) + "," + id + "," +
                                std::to_string(t.index);
      row += "; IF NOT EXISTS (select 1 from t_objectaccess where fgroupid=" + std::to_string(group) +
             " and fobjecttype=" + std::to_string(t.objectType) + " and fobjectid=" + id +
             " and findex=" + std::to_string(t.index) + ") insert t_objectaccess(fgroupid,fObjecttype,fobjectid,findex) values(" +
             grant + ")";
    }
    (t.objectType == 2002 ? attachments : own) += row;
  }
  // The access types of object type 3 open their batch without a separator.
  return {copy, attachments, own.substr(2)};
}

}  // namespace quillane::accountset
