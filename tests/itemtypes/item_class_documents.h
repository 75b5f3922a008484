// Documents of custom item classes, written as the export writes them, for the tests of their import.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "itemtypes/item_class_fixture.h"

namespace quillane::testing {

inline std::string classDoc(const std::vector<std::string>& classes) {
  std::string xml = "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"ItemClass\">";
  for (const std::string& c : classes) xml += tag("ItemClass", c);
  return xml + "</Root>";
}
inline std::string classKeys(const std::string& number, const std::string& name, const std::string& type = "0") {
  return tag("Name", name) + tag("Number", number) + tag("ItemClassID", "3005") + tag("SQLTableName", "t_Item_3005") +
         tag("Type", type);
}
// A property description: its name, column and data type (none when empty) and other keys, written in
// the order of the schema.
inline std::string desc(const std::string& name, const std::string& column, const std::string& dataType,
                        std::vector<std::pair<std::string, std::string>> more = {}) {
  more.emplace_back("Name", name);
  more.emplace_back("SQLColumnName", column);
  if (!dataType.empty()) more.emplace_back("DataType", dataType);
  static const char* const order[] = {"ActualType", "ActualSize", "Behavior",  "ComCall",       "DataType", "DisplayField",
                                      "FilterField", "Name",      "PageName",  "Precision",     "SaveRule", "Scale",
                                      "SQLColumnName", "SrcField", "SrcTable", "ViewMask", "DefaultValue", "Search", "PropID"};
  std::string inner;
  for (const char* key : order)
    for (const auto& [k, v] : more)
      if (k == key) inner += tag(k, v);
  return tag("CustomPropertyStruct", inner);
}
inline std::string value(const std::string& name, const std::string& text) {
  return tag("CustomProperty", tag("PropertyName", name) + tag("PropertyValue", text));
}
inline std::string item(const std::string& number, const std::string& name, const std::string& values = "") {
  return tag("Item", tag("Name", name) + tag("Number", number) + tag("Level", "1") + tag("IsDetail", "1") +
                         tag("UUID", "U-" + number) + values);
}

// "工程": a text with a default, a number, a currency looked up by its name and a flag.
inline std::string worksKeys(const std::string& number = "W", const std::string& name = "工程") {
  return classKeys(number, name) +
         desc("地点", "FSite", "200", {{"ActualSize", "20"}, {"DefaultValue", "未定"}, {"PageName", "基本"}}) +
         desc("数量", "FQty", "3", {{"Precision", "0"}, {"SaveRule", "1"}, {"ViewMask", "255"}}) +
         desc("币别", "FCurrencyID", "3",
              {{"DisplayField", "FName"}, {"SrcField", "FCurrencyID"}, {"SrcTable", "t_Currency"}, {"Search", "币别"}}) +
         desc("完工", "FDone", "11");
}

}  // namespace quillane::testing
