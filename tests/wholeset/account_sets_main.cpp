// account_sets seed SOURCE TARGET: gives TARGET the rows of SOURCE that no data type carries yet.
// account_sets compare A B: prints the differences of two account sets; exits 1 when there are any.
// account_sets classes SET: prints the names of SET's user-defined item classes, joined by "|".
#include <iostream>
#include <string>

#include "accountset/accountset.h"
#include "wholeset/account_set_content.h"
#include "wholeset/road.h"

int main(int argc, char** argv) {
  using namespace quillane::testing;
  const std::string command = argc >= 3 ? argv[1] : "";
  try {
    if (command == "seed" && argc == 4) {
      SeedNotCarried(argv[2], argv[3]);
      return 0;
    }
    if (command == "compare" && argc == 4) {
      const std::string differences = Differences(argv[2], argv[3], Identifiers::ByWhatTheyPointAt);
      std::cout << differences;
      return differences.empty() ? 0 : 1;
    }
    if (command == "classes" && argc == 3) {
      const std::string props = "ConnectString={" + quillane::accountset::ConnectString(argv[2]) + "};UserID=16;AcctType=GY;Language=CHS";
      std::cout << CustomItemClassNames(quillane::CreateObject("Quillane.clsExpImp"), props) << '\n';
      return 0;
    }
  } catch (const std::exception& e) {
    std::cerr << "account_sets: " << e.what() << '\n';
    return 2;
  }
  std::cerr << "usage: account_sets seed SOURCE TARGET | account_sets compare A B | account_sets classes SET\n";
  return 2;
}
