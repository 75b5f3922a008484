// What the ERP writes for an item class that a user defines: the class's own table, the column of each
// custom property, and the access rights of the class. The account set's sample classes and the import
// of a new class write the same objects.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillane::accountset {

// The statement that creates the own table of a class: its items' FItemID, their row version, number
// and name; the properties' columns are added one by one.
std::string CreateClassTable(std::string_view strTableName);
// The columns that statement gives the table, which the item engine writes itself: no property may
// keep its values in one of them.
inline constexpr std::string_view kClassTableOwnColumns[] = {"FItemID", "FModifyTime", "FNumber", "FName"};

// The SQL Server type of the column of a property of ADO data type code lDataType: a text (200) of
// strActualSize characters, varchar(10) for a code that is no column type of a property.
std::string PropertyColumnType(std::int32_t lDataType, std::string_view strActualSize);

// Turns a text of the access rights (simplified Chinese) into the user's language.
using TranslateText = std::function<std::string(std::string_view)>;

// The T-SQL batches that give class lItemClassID, named strName, the access rights of a new class: its
// access object (3, class id) and the object of its records' attachments (2002, class id), their access
// types and the user groups that hold them, and the access types and grants of the template class 20.
// Each access type and each grant is written once: a type of the template that the class's own types
// define again is not copied, and a grant the template gave already is not given again. Names and descriptions are translated; strName is not, and stands between quotes with its
// apostrophes doubled.
std::vector<std::string> NewItemClassRights(std::int32_t lItemClassID, std::string_view strName,
                                            const TranslateText& translate);

}  // namespace quillane::accountset
