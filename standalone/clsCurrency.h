// "Quillane.clsCurrency": currencies (t_Currency) with their exchange rate, its operator, their scale and
// whether the rate is fixed.
#pragma once

#include "standalone/standalone_class.h"

namespace quillane::standalone {

class clsCurrency : public StandaloneClass {
 public:
  clsCurrency();

 protected:
  // Operator: '*' for "*" or none, '/' for anything else. IsFixRate: 1 when true, 0 when false or none.
  std::optional<std::string> OwnValue(const Field& field, const TrzRecord& record) override;
  // By number alone, case ignored: the whole number, else its first three characters.
  std::int32_t FindByNumberName(const std::string& strNumber, const std::string& strName) override;
};

}  // namespace quillane::standalone
