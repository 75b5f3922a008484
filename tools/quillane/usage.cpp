#include "tools/quillane/usage.h"

#include "tools/quillane/data_types.h"

namespace quillane::cli {

std::string Usage() {
  return "usage: quillane <command> [options]\n"
         "  init <file> [--sample N]          a new account set, empty or with N sample records per class\n"
         "  export --db FILE --type T [--per-count N] [--since STAMP] [--out FILE] | --bulk FILE\n"
         "  import --db FILE --type T (--in FILE | --bulk FILE)\n"
         "  keys export --db FILE --type T [--per-count N] [--since STAMP] [--out FILE]\n"
         "  keys import --db FILE --type T --in FILE\n"
         "options: --props STRING (instead of --db), --user ID (default 16), --lang LANG, --filter SQL,\n"
         "         --check-uuid, --add-new-only, --help,\n"
         "         --interactive (conflicts of numbers asked on the terminal)\n"
         "types: " +
         DataTypeNames() + "\n";
}

}  // namespace quillane::cli
