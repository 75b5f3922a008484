// The item classes the engine serves through Export and Import, and the ranges of item class
// identifiers that choose its statements. Custom item classes (1000 to 1999, 3000 and above) reach the
// engine only through its lower operations, which the class table does not gate.
#pragma once

#include <cstdint>

namespace quillane::item_classes {

struct ItemClass {
  std::int32_t id;
  const char* caption;
  const char* typeName;  // the record element; the schema file is typeName + ".xsd"
  const char* table;     // the detail table; "" for none
  bool carriesIsDelete;  // the packed record holds IsDelete
  bool costAccounting;   // exchanged only with account sets at service pack 2.0.0.2 or above
};

inline constexpr ItemClass kItemClasses[] = {
    {1, "客户", "Customer", "t_Organization", true, false},
    {2, "部门", "Department", "t_Department", true, false},
    {3, "职员", "Employee", "t_Emp", true, false},
    {4, "物料（商品）", "Material", "t_ICItem", true, false},
    {5, "仓库", "Stock", "t_Stock", true, false},
    {8, "供应商", "Supplier", "t_Supplier", true, false},
    {9, "现金流量项目", "CashFlowItem", "", true, false},
    {10, "分支机构", "SubCompany", "t_SonCompany", true, false},
    {14, "工作中心", "WorkCenter", "t_WorkCenter", true, false},
    {2001, "成本对象", "CostObject", "cbCostObj", true, true},
    {2002, "劳务输出", "Service", "cbService", true, true},
    {2003, "成本项目", "CostItem", "cbCostItem", false, true},
    {2004, "费用要素", "ExpenseElement", "cbExpense", true, true},
    {2014, "费用", "Fee", "t_Fee", true, true},
};

inline constexpr std::int32_t kCustomer = 1, kMaterial = 4, kCostObject = 2001;
// Units of measure are items of this class, exchanged by a standalone class of their own.
inline constexpr std::int32_t kUnitsOfMeasure = 7;

inline const ItemClass* Find(std::int32_t id) {
  for (const ItemClass& c : kItemClasses)
    if (c.id == id) return &c;
  return nullptr;
}

inline bool Between(std::int32_t id, std::int32_t low, std::int32_t high) { return id >= low && id <= high; }

// The ERP's own classes, whose new and written records get their companion data from the data access.
inline bool IsSystemClass(std::int32_t id) { return Between(id, 1, 19) || Between(id, 2000, 2999); }
// Classes the user defines.
inline bool IsCustomClass(std::int32_t id) { return Between(id, 1000, 1999) || id >= 3000; }

}  // namespace quillane::item_classes
