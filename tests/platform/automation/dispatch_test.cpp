#include <gtest/gtest.h>

#include "platform/automation/automation.h"

namespace quillane {
namespace {

// A small public class: a method with by-reference and optional arguments, properties, and an event
// whose bCancel comes back from the sink.
class Pager : public AutomationObject {
 public:
  bool Export(std::string& strXML, std::int32_t lPerCount, std::string& strTimeStamp, std::string& strError) {
    strXML.clear();
    for (std::int32_t i = 1; i <= lPerCount; ++i) {
      bool bCancel = false;
      RaiseEventWith("Progress", 1, i, lPerCount, bCancel);
      if (bCancel) {
        strError = "cancelled at " + std::to_string(i);
        return false;
      }
      strXML += "<r/>";
    }
    strTimeStamp = "0xFFFFFFFFFFFFFFFF";
    return true;
  }
  void setFilter(const std::string& f) { filter = f; }
  std::int32_t ErrorCount() const { return 7; }

  const DispatchTable& dispatchTable() const override {
    static const DispatchTable table = DispatchBuilder<Pager>()
                                           .method("Export", 1, &Pager::Export, {Variant(std::int32_t{3}), Variant(""), Variant("")})
                                           .let("Filter", 2, &Pager::setFilter)
                                           .get("ErrorCount", 3, &Pager::ErrorCount)
                                           .build();
    return table;
  }
  std::string className() const override { return "Pager"; }

  std::string filter;
};

TEST(Dispatch, ByNameWritesBackByReferenceArgumentsAndFillsDefaults) {
  auto pager = std::make_shared<Pager>();
  std::vector<Variant> args{Variant("old"), Variant(std::int32_t{2}), Variant(""), Variant("")};
  EXPECT_EQ(pager->Call("EXPORT", args), Variant(true));
  EXPECT_EQ(args[0], Variant("<r/><r/>"));
  EXPECT_EQ(args[2], Variant("0xFFFFFFFFFFFFFFFF"));
  EXPECT_EQ(args[1], Variant(std::int32_t{2}));  // by value: left alone

  std::vector<Variant> onlyFirst{Variant("")};
  EXPECT_EQ(pager->Call("Export", onlyFirst), Variant(true));
  EXPECT_EQ(onlyFirst[0], Variant("<r/><r/><r/>"));  // lPerCount defaulted to 3

  std::vector<Variant> textCount{Variant(""), Variant("2")};  // converted as VB converts for a Long
  EXPECT_EQ(pager->Call("Export", textCount), Variant(true));
}

TEST(Dispatch, PropertiesAndDispatchIds) {
  auto pager = std::make_shared<Pager>();
  pager->Let("filter", Variant("FNumber like '1%'"));
  EXPECT_EQ(pager->filter, "FNumber like '1%'");
  EXPECT_EQ(pager->Get("ErrorCount"), Variant(std::int32_t{7}));
  EXPECT_EQ(pager->dispatchTable().idOf("errorcount"), 3);
  EXPECT_EQ(pager->Invoke(3, InvokeKind::Get, {}), Variant(std::int32_t{7}));
}

TEST(Dispatch, ErrorsOfLateBoundCalls) {
  auto pager = std::make_shared<Pager>();
  auto errorOf = [&](auto call) {
    try {
      call();
    } catch (const AutomationError& e) {
      return e.number;
    }
    return 0;
  };
  std::vector<Variant> none;
  EXPECT_EQ(errorOf([&] { pager->Call("Import", none); }), 438);
  EXPECT_EQ(errorOf([&] { pager->Get("Filter"); }), 438);  // write-only
  EXPECT_EQ(errorOf([&] { pager->Call("Export", none); }), 449);
  std::vector<Variant> tooMany(5, Variant(""));
  EXPECT_EQ(errorOf([&] { pager->Call("Export", tooMany); }), 450);
  std::vector<Variant> badCount{Variant(""), Variant("many")};
  EXPECT_EQ(errorOf([&] { pager->Call("Export", badCount); }), 13);
  EXPECT_EQ(errorOf([&] { AutomationObject plain; std::vector<Variant> a; plain.Call("Anything", a); }), 438);
}

TEST(Events, SinkSeesArgumentsAndItsCancelTravelsBack) {
  auto pager = std::make_shared<Pager>();
  std::vector<std::int32_t> seen;
  pager->Advise([&](std::string_view event, DispId id, Arguments args) {
    EXPECT_EQ(event, "Progress");
    EXPECT_EQ(id, 1);
    seen.push_back(CLng(args[0]));
    if (CLng(args[0]) == 2) args[2] = Variant(true);
  });
  std::string xml, stamp, error;
  EXPECT_FALSE(pager->Export(xml, 5, stamp, error));
  EXPECT_EQ(seen, (std::vector<std::int32_t>{1, 2}));
  EXPECT_EQ(error, "cancelled at 2");
  EXPECT_EQ(xml, "<r/>");
}

TEST(Events, SinkMayUnadviseAndReleaseTheRaiserDuringTheEvent) {
  auto pager = std::make_shared<Pager>();
  Pager* raw = pager.get();
  int calls = 0;
  AutomationObject::SinkCookie cookie = 0;
  cookie = pager->Advise([&](std::string_view, DispId, Arguments) {
    ++calls;
    raw->Unadvise(cookie);
    pager.reset();  // the caller lets go of its last reference in the middle of the event
  });
  std::vector<Variant> args{Variant(""), Variant(std::int32_t{2})};
  EXPECT_EQ(raw->Call("Export", args), Variant(true));
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace quillane
