// A page held to the bound of a bulk file's records: the records past it are named and left out, the
// page is otherwise written as it was read, and a page that needs nothing left out stays as it is.
#include <gtest/gtest.h>

#include "platform/xml/bounded_page.h"
#include "platform/xml/bounded_record.h"

namespace quillane {
namespace {

std::string tag(const std::string& name, const std::string& text) { return "<" + name + ">" + text + "</" + name + ">"; }

TEST(BoundedPage, TheRecordsPastTheBoundAreNamedAndLeftOut) {
  const std::string big(BoundedRecord::kTextLimit, 'B');
  auto department = [](const std::string& number, const std::string& name) {
    return tag("Department", tag("Name", name) + tag("Number", number));
  };
  auto item = [](const std::string& number, const std::string& name) {
    return tag("Item", tag("Name", name) + tag("Number", number));
  };
  auto itemClass = [](const std::string& number, const std::string& name, const std::string& items) {
    return "<ItemClass xmlns=\"urn:c\">" + tag("Name", name) + tag("Number", number) + tag("Type", "0") + items +
           "</ItemClass>";
  };
  const std::string departments = "<Root VelmoraNameSpace=\"Department\">", classes = "<Root VelmoraNameSpace=\"ItemClass\">";
  const std::string past = ", > 1048576 bytes";
  struct Case {
    const char* what;
    std::string page;
    std::vector<std::string> refused;
    std::string text;
  };
  const Case cases[] = {
      {"a record with a long name", departments + department("1", "甲") + "\n " + department("2", big) +
                                        department("3", "a &amp; b") + "</Root>",
       {"#2 (Number:2)" + past}, departments + department("1", "甲") + department("3", "a &amp; b") + "</Root>"},
      {"an entity used over and over",
       "<!DOCTYPE Root [<!ENTITY e \"" + std::string(1000, 'e') + "\">]>" + departments + department("1", "甲") +
           department("2", [] { std::string uses; for (int i = 0; i < 1100; ++i) uses += "&e;"; return uses; }()) +
           "</Root>",
       {"#2 (Number:2)" + past}, departments + department("1", "甲") + "</Root>"},
      {"an item of a class", classes + itemClass("C", "类", item("1", "甲") + item("2", big) + item("3", "丙")) + "</Root>",
       {"#2 (Number:2)" + past}, classes + itemClass("C", "类", item("1", "甲") + item("3", "丙")) + "</Root>"},
      {"a class itself", classes + itemClass("C", big, item("1", "甲")) + itemClass("D", "丁", "") + "</Root>",
       {"#1 (Number:C)" + past}, classes + itemClass("D", "丁", "") + "</Root>"},
      {"records within the bound", departments + department("1", big.substr(100)) + department("2", big.substr(100)) + "</Root>",
       {}, ""},
      {"a page that is no document", departments + department("1", big) + "<Department>", {}, ""},
      {"a page within the bound", departments + department("1", "甲") + "</Root>", {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BoundedPage bounded = BoundPage(c.page);
    EXPECT_EQ(bounded.refused, c.refused);
    EXPECT_EQ(bounded.text, c.text);
  }
}

}  // namespace
}  // namespace quillane
