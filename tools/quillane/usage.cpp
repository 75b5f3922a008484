#include "tools/quillane/usage.h"

#include "tools/quillane/data_types.h"

namespace quillane::cli {

std::string Usage() {
  return "usage: quillane <command> [options]\n"
         "  init FILE [--sample N [--acct-type KIND]]\n"
         "                                a new account set, empty or with N sample records per class of\n"
         "                                an industrial (default) or a commercial account set\n"
         "  export --db FILE --type T [--per-count N] [--since STAMP] [--out FILE]\n"
         "                                one page of at most N records (default 100) changed after STAMP\n"
         "  export --db FILE --type T --bulk FILE [--since STAMP]\n"
         "                                every record changed after STAMP into one bulk file\n"
         "  import --db FILE --type T (--in FILE [--system-type N] | --bulk FILE)\n"
         "  export --db FILE --type custom --class NAME [--per-count N] [--since STAMP] [--out FILE]\n"
         "                                one page of the custom item class NAME, with its definition\n"
         "  export --db FILE --type custom --class NAME[|NAME...] --bulk FILE\n"
         "                                every record of the named custom item classes into one bulk file\n"
         "                                (named in the language of --lang)\n"
         "  import --db FILE --type custom (--in FILE | --bulk FILE)\n"
         "                                custom item classes, created when the account set lacks them\n"
         "  keys export --db FILE --type T [--per-count N] [--since STAMP] [--out FILE]\n"
         "  keys import --db FILE --type T --in FILE\n"
         "\n"
         "Paging: an export writes the page to standard output (or --out) and, on standard error,\n"
         "\"next stamp: S\" and \"highest stamp: H\". Pass S as --since to get the next page. A next stamp of\n"
         "0xFFFFFFFFFFFFFFFF means that nothing was left after --since: paging is done, and the --since you\n"
         "gave is where a later run starts. A stamp is 0x and 16 hexadecimal digits; without --since an\n"
         "export starts at the beginning. A bulk export prints \"highest stamp: H\", the --since of a later\n"
         "bulk export.\n"
         "An import prints \"records read\", \"records imported\" and \"records failed\" on standard error\n"
         "and exits 0 when every record went in, 2 when some failed, 1 when the call itself failed.\n"
         "\n"
         "options:\n"
         "  --props STRING    a whole props string, instead of --db, --user, --acct-type and --lang\n"
         "  --user ID         the user's number (default 16)\n"
         "  --acct-type KIND  industrial (default) or commercial\n"
         "  --lang LANG       chs (default), en or cht: the messages, and the language the props name\n"
         "  --filter SQL      a condition the exported records must meet as well\n"
         "  --check-uuid      match imported records by UUID first\n"
         "  --add-new-only    leave the own columns of existing records as they are\n"
         "  --system-type N   the system type of the records a page import writes (default 1, which\n"
         "                    exports them again; 0 keeps them out of exports of this account set)\n"
         "  --interactive     ask on the terminal about a record whose number another record has\n"
         "types: " +
         DataTypeNames() + "\n";
}

}  // namespace quillane::cli
