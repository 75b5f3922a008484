// account_sets seed SOURCE TARGET: gives TARGET the rows of SOURCE that no data type carries yet.
// account_sets compare A B: prints the differences of two account sets; exits 1 when there are any.
#include <iostream>
#include <string>

#include "wholeset/account_set_content.h"

int main(int argc, char** argv) {
  using namespace quillane::testing;
  const std::string command = argc == 4 ? argv[1] : "";
  try {
    if (command == "seed") {
      SeedNotCarried(argv[2], argv[3]);
      return 0;
    }
    if (command == "compare") {
      const std::string differences = Differences(argv[2], argv[3], Identifiers::ByWhatTheyPointAt);
      std::cout << differences;
      return differences.empty() ? 0 : 1;
    }
  } catch (const std::exception& e) {
    std::cerr << "account_sets: " << e.what() << '\n';
    return 2;
  }
  std::cerr << "usage: account_sets seed SOURCE TARGET | account_sets compare A B\n";
  return 2;
}
