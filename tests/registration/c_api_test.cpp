// The C interface against a small class of the test's own: conversions both ways, by-reference
// arguments, events with answers, errors, and handles released at awkward moments.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/automation/automation.h"
#include "quillane/quillane.h"

namespace quillane {
namespace {

class Probe : public AutomationObject {
 public:
  std::string className() const override { return "Probe"; }
  const DispatchTable& dispatchTable() const override {
    static const DispatchTable table = DispatchBuilder<Probe>()
                                           .method("Echo", 1, &Probe::Echo)
                                           .method("Swap", 2, &Probe::Swap)
                                           .method("Ask", 3, &Probe::Ask)
                                           .method("Fail", 4, &Probe::Fail)
                                           .let("Value", 5, &Probe::setValue)
                                           .get("Value", 5, &Probe::value)
                                           .set("Child", 6, &Probe::setChild)
                                           .get("Child", 6, &Probe::child)
                                           .build();
    return table;
  }

  Variant Echo(Variant v) { return v; }
  void Swap(std::string& a, std::string& b) { std::swap(a, b); }
  // Raises Question(n, answer by reference) and returns what the sinks answered.
  std::string Ask(std::int32_t n) {
    std::string answer;
    RaiseEventWith("Question", 7, n, answer);
    return answer;
  }
  bool Fail() { throw AutomationError(kObjectErrorBase + 513, "Probe.Fail", "探针失败"); }
  void setValue(Variant v) { value_ = std::move(v); }
  Variant value() const { return value_; }
  void setChild(ObjectRef child) { child_ = std::move(child); }
  ObjectRef child() const { return child_; }

 private:
  Variant value_;
  ObjectRef child_;
};

class CInterface : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(quillane_create_object("Test.Probe", &probe), QUILLANE_S_OK); }
  void TearDown() override {
    quillane_release(probe);
    EXPECT_EQ(DllCanUnloadNow(), QUILLANE_S_OK) << "a handle leaked";
  }
  static quillane_variant text(const char* utf8) {
    quillane_variant v = quillane_variant_empty();
    EXPECT_EQ(quillane_variant_set_string(&v, utf8), QUILLANE_S_OK);
    return v;
  }

  ClassOverride probeClass{"Test.Probe", [] { return std::make_shared<Probe>(); }};
  quillane_object* probe = nullptr;
};

TEST_F(CInterface, EveryKindOfValueCrossesTheBoundaryBothWays) {
  const std::uint8_t raw[] = {0, 1, 0xFF};
  std::vector<quillane_variant> values = {quillane_variant_empty(),        quillane_variant_null(),
                                          quillane_variant_bool(7),        quillane_variant_int16(-32768),
                                          quillane_variant_int32(2147483647), quillane_variant_double(0.25),
                                          quillane_variant_currency(-12345678), quillane_variant_date(45000.5),
                                          text("部门 & <x>"),            quillane_variant_empty(),
                                          quillane_variant_empty(),
                                          quillane_variant_decimal("-12345678901234567890.123456789012345678")};
  ASSERT_EQ(quillane_variant_set_bytes(&values[9], raw, sizeof raw), QUILLANE_S_OK);
  ASSERT_EQ(quillane_variant_set_object(&values[10], probe), QUILLANE_S_OK);

  for (quillane_variant& in : values) {
    quillane_variant out = quillane_variant_empty();
    ASSERT_EQ(quillane_call(probe, "Echo", &in, 1, &out), QUILLANE_S_OK) << quillane_last_error_description();
    ASSERT_EQ(out.type, in.type);
    switch (in.type) {
      case QUILLANE_VT_BOOL: EXPECT_EQ(out.value.boolean, 1); break;  // any non-zero is True, True is 1
      case QUILLANE_VT_INT16: EXPECT_EQ(out.value.int16, in.value.int16); break;
      case QUILLANE_VT_INT32: EXPECT_EQ(out.value.int32, in.value.int32); break;
      case QUILLANE_VT_DOUBLE: EXPECT_EQ(out.value.dbl, in.value.dbl); break;
      case QUILLANE_VT_CURRENCY: EXPECT_EQ(out.value.currency, in.value.currency); break;
      case QUILLANE_VT_DATE: EXPECT_EQ(out.value.date, in.value.date); break;
      case QUILLANE_VT_DECIMAL: EXPECT_STREQ(out.value.decimal, "-12345678901234567890.123456789012345678"); break;
      case QUILLANE_VT_STRING:
        EXPECT_STREQ(out.value.string.data, "部门 & <x>");
        EXPECT_NE(out.value.string.data, in.value.string.data);  // a copy of its own
        break;
      case QUILLANE_VT_BYTES:
        ASSERT_EQ(out.value.bytes.length, sizeof raw);
        EXPECT_EQ(std::memcmp(out.value.bytes.data, raw, sizeof raw), 0);
        break;
      case QUILLANE_VT_OBJECT:
        EXPECT_NE(out.value.object, probe);  // a handle of its own, to the same object
        EXPECT_STREQ(quillane_class_name(out.value.object), "Probe");
        break;
      default: break;
    }
    quillane_variant_clear(&out);
    quillane_variant_clear(&in);
  }
}

TEST_F(CInterface, ADecimalIsItsOwnTypeAndATextThatIsNoneIsRefused) {
  quillane_variant out = quillane_variant_empty();
  for (const char* bad : {"1e5", "12,5", " 1", "", "123456789012345678901234567890123456789",
                          "0.1234567890123456789012345678901234567890123456789"}) {
    quillane_variant in = quillane_variant_decimal(bad);
    EXPECT_EQ(quillane_call(probe, "Echo", &in, 1, &out), QUILLANE_E_INVALIDARG) << bad;
  }
  quillane_variant in = quillane_variant_decimal("0.000001");
  ASSERT_EQ(quillane_call(probe, "Echo", &in, 1, &out), QUILLANE_S_OK);
  EXPECT_EQ(out.type, QUILLANE_VT_DECIMAL);
  EXPECT_STREQ(out.value.decimal, "0.000001");
}

TEST_F(CInterface, ByReferenceArgumentsComeBackAndUntouchedOnesKeepTheirStorage) {
  quillane_variant args[2] = {text("left"), text("right")};
  ASSERT_EQ(quillane_call(probe, "Swap", args, 2, nullptr), QUILLANE_S_OK);
  EXPECT_STREQ(args[0].value.string.data, "right");
  EXPECT_STREQ(args[1].value.string.data, "left");

  quillane_variant same[2] = {text("x"), text("x")};
  const char* before = same[0].value.string.data;
  ASSERT_EQ(quillane_call(probe, "Swap", same, 2, nullptr), QUILLANE_S_OK);
  EXPECT_EQ(same[0].value.string.data, before);
  for (quillane_variant& v : args) quillane_variant_clear(&v);
  for (quillane_variant& v : same) quillane_variant_clear(&v);
}

TEST_F(CInterface, PropertiesAreLetOrSetByTheirValue) {
  quillane_variant number = quillane_variant_int32(42), read = quillane_variant_empty();
  ASSERT_EQ(quillane_set_property(probe, "Value", &number), QUILLANE_S_OK);
  ASSERT_EQ(quillane_get_property(probe, "value", &read), QUILLANE_S_OK);
  EXPECT_EQ(read.type, QUILLANE_VT_INT32);
  EXPECT_EQ(read.value.int32, 42);

  quillane_object* other = nullptr;
  ASSERT_EQ(quillane_create_object("Test.Probe", &other), QUILLANE_S_OK);
  quillane_variant child = quillane_variant_empty();
  ASSERT_EQ(quillane_variant_set_object(&child, other), QUILLANE_S_OK);
  quillane_release(other);  // the variant holds a reference of its own
  ASSERT_EQ(quillane_set_property(probe, "Child", &child), QUILLANE_S_OK);
  ASSERT_EQ(quillane_get_property(probe, "Child", &read), QUILLANE_S_OK);  // the Long is freed first
  ASSERT_EQ(read.type, QUILLANE_VT_OBJECT);
  EXPECT_STREQ(quillane_class_name(read.value.object), "Probe");
  quillane_variant_clear(&read);
  quillane_variant_clear(&child);

  quillane_variant nothing = quillane_variant_empty();
  nothing.type = QUILLANE_VT_OBJECT;
  ASSERT_EQ(quillane_set_property(probe, "Child", &nothing), QUILLANE_S_OK);
  ASSERT_EQ(quillane_get_property(probe, "Child", &read), QUILLANE_S_OK);
  EXPECT_EQ(read.type, QUILLANE_VT_OBJECT);
  EXPECT_EQ(read.value.object, nullptr);
}

struct Answers {
  std::vector<std::string> seen;
  const char* reply = "";
  quillane_object** releaseOnEvent = nullptr;
};

void Answer(quillane_object* object, const char* event, int32_t id, quillane_variant* args, size_t count,
            void* user) {
  auto* answers = static_cast<Answers*>(user);
  answers->seen.push_back(std::string(event) + "/" + std::to_string(id) + "/" + std::to_string(count) + "/" +
                          std::to_string(args[0].value.int32) + "/" + quillane_class_name(object));
  quillane_variant_set_string(&args[1], answers->reply);
  if (answers->releaseOnEvent) {
    quillane_release(*answers->releaseOnEvent);
    *answers->releaseOnEvent = nullptr;
  }
}

TEST_F(CInterface, ACallbackSeesEachEventAndItsAnswerReachesTheRaiser) {
  Answers answers;
  answers.reply = "是";
  std::uint32_t cookie = 0;
  ASSERT_EQ(quillane_advise(probe, Answer, &answers, &cookie), QUILLANE_S_OK);
  quillane_variant n = quillane_variant_int32(3), reply = quillane_variant_empty();
  ASSERT_EQ(quillane_call(probe, "Ask", &n, 1, &reply), QUILLANE_S_OK) << quillane_last_error_description();
  EXPECT_STREQ(reply.value.string.data, "是");
  EXPECT_EQ(answers.seen, std::vector<std::string>{"Question/7/2/3/Probe"});

  ASSERT_EQ(quillane_unadvise(probe, cookie), QUILLANE_S_OK);
  ASSERT_EQ(quillane_call(probe, "Ask", &n, 1, &reply), QUILLANE_S_OK);
  EXPECT_EQ(answers.seen.size(), 1u);
  EXPECT_STREQ(reply.value.string.data, "");
  quillane_variant_clear(&reply);
}

TEST_F(CInterface, ACallbackMayReleaseTheHandleItWasAdvisedThroughInTheMiddleOfAnEvent) {
  quillane_object* second = nullptr;
  quillane_variant self = quillane_variant_empty();
  ASSERT_EQ(quillane_variant_set_object(&self, probe), QUILLANE_S_OK);
  second = self.value.object;
  self = quillane_variant_empty();  // the test owns the handle now

  Answers releasing, later;
  releasing.reply = "first";
  releasing.releaseOnEvent = &second;
  later.reply = "second";
  std::uint32_t cookie = 0;
  ASSERT_EQ(quillane_advise(second, Answer, &releasing, &cookie), QUILLANE_S_OK);
  ASSERT_EQ(quillane_advise(second, Answer, &later, &cookie), QUILLANE_S_OK);

  quillane_variant n = quillane_variant_int32(1), reply = quillane_variant_empty();
  ASSERT_EQ(quillane_call(probe, "Ask", &n, 1, &reply), QUILLANE_S_OK);
  EXPECT_EQ(second, nullptr);
  EXPECT_TRUE(later.seen.empty()) << "a callback ran after its handle was released";
  EXPECT_STREQ(reply.value.string.data, "first");
  quillane_variant_clear(&reply);
}

TEST_F(CInterface, FailuresAreResultCodesWithTheErrorLeftForTheCaller) {
  ASSERT_EQ(quillane_call(probe, "Fail", nullptr, 0, nullptr), QUILLANE_E_EXCEPTION);
  EXPECT_EQ(quillane_last_error_number(), kObjectErrorBase + 513);
  EXPECT_STREQ(quillane_last_error_source(), "Probe.Fail");
  EXPECT_STREQ(quillane_last_error_description(), "探针失败");

  quillane_variant bad = quillane_variant_empty();
  bad.type = static_cast<quillane_vartype>(4);  // Single: not a type the library carries
  EXPECT_EQ(quillane_call(probe, "Echo", &bad, 1, nullptr), QUILLANE_E_INVALIDARG);
  EXPECT_EQ(quillane_last_error_number(), 5);
  quillane_variant dangling = quillane_variant_empty();
  dangling.type = QUILLANE_VT_STRING;
  dangling.value.string.length = 3;  // a length without its text
  EXPECT_EQ(quillane_call(probe, "Echo", &dangling, 1, nullptr), QUILLANE_E_INVALIDARG);

  EXPECT_EQ(quillane_call(probe, "Echo", nullptr, 1, nullptr), QUILLANE_E_POINTER);
  EXPECT_EQ(quillane_call(nullptr, "Echo", nullptr, 0, nullptr), QUILLANE_E_POINTER);
  EXPECT_EQ(quillane_call(probe, nullptr, nullptr, 0, nullptr), QUILLANE_E_POINTER);
  EXPECT_EQ(quillane_get_property(probe, "Value", nullptr), QUILLANE_E_POINTER);
  EXPECT_EQ(quillane_advise(probe, nullptr, nullptr, nullptr), QUILLANE_E_POINTER);
  EXPECT_EQ(quillane_variant_set_string(nullptr, "x"), QUILLANE_E_POINTER);
  EXPECT_EQ(quillane_call(probe, "Echo", nullptr, 2, nullptr), QUILLANE_E_POINTER);

  EXPECT_EQ(quillane_call(probe, "Echo", nullptr, 0, nullptr), QUILLANE_E_EXCEPTION);
  EXPECT_EQ(quillane_last_error_number(), 449);  // argument not optional
  quillane_variant result = quillane_variant_empty();
  ASSERT_EQ(quillane_get_property(probe, "Value", &result), QUILLANE_S_OK);
  EXPECT_EQ(quillane_last_error_number(), 0);
  EXPECT_STREQ(quillane_last_error_description(), "");
}

// A handle given back is refused by every function that takes one, on whatever thread, and is never
// taken for an object made after it at the same place.
TEST_F(CInterface, AReleasedOrForgedHandleIsRefusedByEveryFunctionThatTakesOne) {
  quillane_object* released = nullptr;
  ASSERT_EQ(quillane_create_object("Test.Probe", &released), QUILLANE_S_OK);
  std::uint32_t cookie = 0;
  Answers answers;
  ASSERT_EQ(quillane_advise(released, Answer, &answers, &cookie), QUILLANE_S_OK);
  ASSERT_EQ(quillane_release(released), QUILLANE_S_OK);
  quillane_object* later = nullptr;
  ASSERT_EQ(quillane_create_object("Test.Probe", &later), QUILLANE_S_OK);
  quillane_class_factory* factory = nullptr;
  ASSERT_EQ(DllGetClassObject("{DFC9E8EF-966B-11D7-9E78-00E01869F6B0}", nullptr, &factory), QUILLANE_S_OK);
  ASSERT_EQ(quillane_factory_release(factory), QUILLANE_S_OK);
  auto* forged = reinterpret_cast<quillane_object*>(&answers);  // memory that is no handle
  auto* factoryAsObject = reinterpret_cast<quillane_object*>(factory);

  using Use = std::function<quillane_result(quillane_object*)>;
  const std::pair<const char*, Use> uses[] = {
      {"call", [](quillane_object* h) { return quillane_call(h, "Echo", nullptr, 0, nullptr); }},
      {"get", [](quillane_object* h) {
         quillane_variant out = quillane_variant_empty();
         return quillane_get_property(h, "Value", &out);
       }},
      {"set", [](quillane_object* h) {
         quillane_variant v = quillane_variant_int32(1);
         return quillane_set_property(h, "Value", &v);
       }},
      {"advise", [&](quillane_object* h) {
         std::uint32_t c = 0;
         return quillane_advise(h, Answer, &answers, &c);
       }},
      {"unadvise", [&](quillane_object* h) { return quillane_unadvise(h, cookie); }},
      {"release", [](quillane_object* h) { return quillane_release(h); }},
      {"class name", [](quillane_object* h) {
         EXPECT_STREQ(quillane_class_name(h), "");
         return quillane_last_error_number();
       }},
      {"variant of it", [](quillane_object* h) {
         quillane_variant v = quillane_variant_empty();
         return quillane_variant_set_object(&v, h);
       }},
      {"argument", [this](quillane_object* h) {
         quillane_variant arg = quillane_variant_empty();
         arg.type = QUILLANE_VT_OBJECT;
         arg.value.object = h;
         return quillane_call(probe, "Echo", &arg, 1, nullptr);
       }},
      {"property value", [this](quillane_object* h) {
         quillane_variant arg = quillane_variant_empty();
         arg.type = QUILLANE_VT_OBJECT;
         arg.value.object = h;
         return quillane_set_property(probe, "Child", &arg);
       }},
      {"variant clear", [](quillane_object* h) {
         quillane_variant v = quillane_variant_empty();
         v.type = QUILLANE_VT_OBJECT;
         v.value.object = h;
         quillane_result r = quillane_variant_clear(&v);
         EXPECT_EQ(v.type, QUILLANE_VT_EMPTY);
         return r;
       }},
      {"factory create", [](quillane_object* h) {
         quillane_object* made = nullptr;
         return quillane_factory_create_instance(reinterpret_cast<quillane_class_factory*>(h), &made);
       }},
      {"factory release", [](quillane_object* h) {
         return quillane_factory_release(reinterpret_cast<quillane_class_factory*>(h));
       }},
  };
  for (const auto& [what, use] : uses) {
    for (quillane_object* handle : {released, forged}) {
      EXPECT_EQ(use(handle), QUILLANE_E_HANDLE) << what;
      EXPECT_EQ(quillane_last_error_number(), QUILLANE_E_HANDLE) << what;
      EXPECT_NE(std::string(quillane_last_error_description()).find("released"), std::string::npos) << what;
    }
  }
  EXPECT_EQ(quillane_call(factoryAsObject, "Echo", nullptr, 0, nullptr), QUILLANE_E_HANDLE);
  EXPECT_EQ(quillane_release(nullptr), QUILLANE_S_OK);

  quillane_variant value = quillane_variant_int32(5), read = quillane_variant_empty();
  ASSERT_EQ(quillane_set_property(later, "Value", &value), QUILLANE_S_OK);
  ASSERT_EQ(quillane_get_property(later, "Value", &read), QUILLANE_S_OK);
  EXPECT_EQ(read.value.int32, 5);
  EXPECT_STREQ(quillane_class_name(later), "Probe");
  EXPECT_EQ(quillane_last_error_number(), 0);
  EXPECT_EQ(quillane_release(later), QUILLANE_S_OK);
}

// Threads that each make, use and give back handles of their own share the one table of handles.
TEST_F(CInterface, ThreadsMakeAndReleaseHandlesSideBySide) {
  std::vector<std::thread> threads;
  std::atomic<int> failures{0};
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < 500; ++i) {
        // The test's own class is registered on the main thread only: these use a public one.
        quillane_object* own = nullptr;
        if (quillane_create_object("Quillane.clsDepartment", &own) != QUILLANE_S_OK ||
            std::string(quillane_class_name(own)) != "clsDepartment" || quillane_release(own) != QUILLANE_S_OK ||
            quillane_release(own) != QUILLANE_E_HANDLE)
          ++failures;
      }
    });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failures, 0);
}

}  // namespace
}  // namespace quillane
