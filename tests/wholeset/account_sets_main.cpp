// account_sets seed SOURCE TARGET [commercial]: gives TARGET the rows of SOURCE that no data type carries
// yet on the road of that kind of account set (industrial unless "commercial" is given).
// account_sets compare A B [commercial]: prints the differences of two account sets; exits 1 when there
// are any.
// account_sets road [commercial]: the --type names that the whole-set road of the kind carries, one a
// line, in the order of a full transfer.
// account_sets classes SET: the names of SET's user-defined item classes, joined by "|".
#include <iostream>
#include <string>

#include "tools/quillane/data_type_table.h"
#include "wholeset/account_set_content.h"
#include "wholeset/road.h"

int main(int argc, char** argv) {
  using namespace quillane::testing;
  const std::string command = argc > 1 ? argv[1] : "";
  // The kind is the last word, after the command's paths; industrial when it is left out.
  const int kindAt = command == "road" ? 2 : 4;
  const std::string kindName = argc == kindAt + 1 ? argv[kindAt] : "industrial";
  const Kind kind = kindName == "commercial" ? Kind::Commercial : Kind::Industrial;
  const bool wellFormed =
      (kindName == "industrial" || kindName == "commercial") && (argc == kindAt || argc == kindAt + 1);
  try {
    if (wellFormed && command == "road") {
      for (const auto& type : quillane::cli::kDataTypes)
        if (OnTheRoad(type.lIO, kind)) std::cout << type.name << '\n';
      return 0;
    }
    if (command == "classes" && argc == 3) {
      const std::string props = "ConnectString={" + quillane::accountset::ConnectString(argv[2]) + "};" +
                                PropsOfKind(Kind::Industrial);
      std::cout << CustomItemClassNames(quillane::CreateObject("Quillane.clsExpImp"), props) << '\n';
      return 0;
    }
    if (wellFormed && command == "seed") {
      SeedNotCarried(argv[2], argv[3], kind);
      return 0;
    }
    if (wellFormed && command == "compare") {
      const std::string differences = Differences(argv[2], argv[3], Identifiers::ByWhatTheyPointAt, kind);
      std::cout << differences;
      return differences.empty() ? 0 : 1;
    }
  } catch (const std::exception& e) {
    std::cerr << "account_sets: " << e.what() << '\n';
    return 2;
  }
  std::cerr << "usage: account_sets seed SOURCE TARGET [industrial|commercial] | "
               "account_sets compare A B [industrial|commercial] | account_sets road [industrial|commercial] | "
               "account_sets classes SET\n";
  return 2;
}
