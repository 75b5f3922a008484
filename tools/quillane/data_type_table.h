// The data types the program exchanges: the name given to --type, the facade's ItemObject value and the
// class behind it. The rows stand in the order of a full transfer: every type after the types its
// records link to, so that a link finds its record already in the target account set. The README
// quotes this table; scripts/demo and the whole-set test carry the types in its order.
#pragma once

#include <cstdint>

namespace quillane::cli {

struct DataType {
  const char* name;
  std::int32_t lIO;
  const char* progID;
};

// One row per type, one a line; a new type needs only its row here, at its place in the order:
// currencies before accounts, accounts and auxiliary data before anything that names them, units and
// stock places before materials, departments before employees, the auxiliary properties of goods and the
// user-defined item classes before materials (whose auxiliary properties are items of such a class),
// materials before cost objects, customers before branches. A user-defined class whose properties look
// up records of a type after it (materials, customers...) is carried a second time after that type: the
// second run finds its items and fills those links.
// clang-format off
inline constexpr DataType kDataTypes[] = {
    {"currency", 3, "Quillane.clsCurrency"},
    {"measureunit", 4, "Quillane.clsMeasureUnit"},
    {"account", 1, "Quillane.clsAccount"},
    // auxiliary data, from the industrial or the commercial tables as the account set's kind says
    {"assist", 2, "Quillane.clsAssist"},
    {"settle", 22, "Quillane.clsSettle"},
    {"vouchergroup", 19, "Quillane.clsVoucherGroup"},
    {"department", 6, "Quillane.clsDepartment"},
    {"employee", 7, "Quillane.clsEmployee"},
    {"stockplace", 24, "Quillane.clsStockPlace"},
    {"stock", 9, "Quillane.clsStock"},
    {"supplier", 11, "Quillane.clsSupplier"},
    {"work-center", 13, "Quillane.clsWorkCenter"},
    {"fee", 18, "Quillane.clsFee"},
    {"cost-item", 15, "Quillane.clsCBCostItem"},
    // the auxiliary properties of goods: item classes of FType 3 and 4, in commercial account sets only;
    // before the materials, which name them
    {"aux-prop", 20, "Quillane.clsAuxProp"},
    // the item classes that users define, named by --class: after the records their properties look up,
    // before the materials, which name one of them as the class of their auxiliary properties
    {"custom", 23, "Quillane.clsItemClass"},
    {"material", 8, "Quillane.clsMaterial"},
    {"customer", 5, "Quillane.clsCustomer"},
    {"sub-company", 12, "Quillane.clsSubCompany"},
    {"cost-object", 14, "Quillane.clsCBCostObject"},
    {"expense-element", 16, "Quillane.clsCBExpenseElement"},
    {"service", 17, "Quillane.clsCBService"},
    {"cash-flow-item", 21, "Quillane.clsCashFlowItem"},
};
// clang-format on

}  // namespace quillane::cli
