// A page document held to the bound of a bulk file's records (BoundedRecord). A caller hands a page over
// whole, and a record of it past the bound would be read into values, checked, written into statements
// and quoted in messages, at many times its size. A page longer than the bound is read once with the SAX
// reader, in pieces, as a bulk file is (and so is a shorter one that declares entities, whose uses may
// make it longer); only when one of its records passes the bound is it written
// again without them, so that they fail alone and the others still arrive.
//
// The records are the elements under Root; in a document of item classes (Root names ItemClass) the
// items of each class, and the class apart from its items: a class past the bound goes with its items.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillane {

struct BoundedPage {
  std::vector<std::string> refused;  // each refused record's identification (BoundedRecord::Identification)
  std::string text;                  // the page without them; empty when none was refused
};

// A text that is no well-formed document is left to the page's reader, which names the fault: nothing is
// refused then.
BoundedPage BoundPage(std::string_view page);

}  // namespace quillane
