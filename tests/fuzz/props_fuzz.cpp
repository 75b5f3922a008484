// Fuzz target: the props string of every public call.
//
// The input is read twice:
// - as a props string: the parse succeeds, or raises one of its own errors (457 for a repeated key, 5
//   without AcctType or ConnectString); after a success the connection component was handed the parsed
//   ConnectString, the industry flag follows AcctType, and UserID converts or raises 13 or 6;
// - as lines of "key<TAB>value" pairs, written out as a props string with braced values: the parse gives
//   back exactly those pairs (keys and values trimmed), or the error its keys call for;
// - as the path of an account set: the connection string made for it names that path again.
// The connection component is a stand-in that answers the service-pack query, so that no input opens
// a file.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "exchange/MParse.h"
#include "fuzz_check.h"
#include "platform/automation/automation.h"
#include "platform/automation/factory.h"
#include "platform/automation/vbtext.h"
#include "platform/sql/connection.h"
#include "platform/sql/recordset.h"

namespace quillane::fuzz {
namespace {

constexpr const char* kServicePack = "2.0.0.7";

// The connection component as the service-pack read uses it: it keeps the string it is handed and
// answers every query with one row.
class ServicePackConnection : public AutomationObject {
 public:
  static inline std::string handedConnString;

  const DispatchTable& dispatchTable() const override {
    static const DispatchTable table = DispatchBuilder<ServicePackConnection>()
                                           .let("ConnString", 1, &ServicePackConnection::setConnString)
                                           .method("GetAnyRecordSet", 2, &ServicePackConnection::GetAnyRecordSet)
                                           .build();
    return table;
  }
  std::string className() const override { return "Connection"; }

  void setConnString(const std::string& text) { handedConnString = text; }
  std::shared_ptr<sql::Recordset> GetAnyRecordSet(const std::string&) {
    sql::Rowset rows{{{"FValue", sql::ColumnTypeOf("varchar(255)")}}, {{Variant(std::string(kServicePack))}}};
    return std::make_shared<sql::Recordset>(std::move(rows));
  }
};

bool Stored(const std::string& key) {
  try {
    MParse::GetProp(key);
    return true;
  } catch (const AutomationError& e) {
    Require(e.number == 5, "GetProp of a missing key raised " + std::to_string(e.number));
    return false;
  }
}

// What holds after a parse that succeeded, whatever the text was.
void CheckParsed(const std::string& text) {
  Require(ServicePackConnection::handedConnString == MParse::GetConnectString(),
          "the service-pack read used another connection string than the parsed one: " + Shown(text));
  Require(MParse::IsIndustry() == (UCase(MParse::GetProp("AcctType")) == "GY"),
          "the industry flag does not follow AcctType: " + Shown(text));
  Require(MParse::CompareServicePack(kServicePack) == 0, "the service pack read was not kept: " + Shown(text));
  if (!Stored("UserID")) return;
  try {
    MParse::GetUserID();
  } catch (const AutomationError& e) {
    Require(e.number == 13 || e.number == 6,
            "UserID " + Shown(MParse::GetProp("UserID")) + " raised " + std::to_string(e.number));
  }
}

void ParseRawText(const std::string& text) {
  try {
    MParse::ParseProps(text);
  } catch (const AutomationError& e) {
    Require(e.number == 457 || e.number == 5,
            "the parse raised " + std::to_string(e.number) + " " + Shown(e.description) + " for " + Shown(text));
    return;
  }
  CheckParsed(text);
}

struct Pair {
  std::string key, value;
};

// The input's lines as pairs the grammar can carry: a key holds no "=" and is not blank, a braced
// value holds no "}".
std::vector<Pair> PairsOf(const std::string& input) {
  std::vector<Pair> pairs;
  std::size_t start = 0;
  while (start <= input.size()) {
    std::size_t end = input.find('\n', start);
    if (end == std::string::npos) end = input.size();
    std::string line = input.substr(start, end - start);
    start = end + 1;
    std::size_t tab = line.find('\t');
    Pair p{Replace(line.substr(0, tab), "=", ""), tab == std::string::npos ? "" : Replace(line.substr(tab + 1), "}", "")};
    if (!Trim(p.key).empty()) pairs.push_back(std::move(p));
  }
  return pairs;
}

void ParseWrittenPairs(const std::vector<Pair>& pairs) {
  std::string text;
  bool repeated = false, hasAcctType = false, hasConnectString = false;
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    text += pairs[i].key + "={" + pairs[i].value + "};";
    for (std::size_t j = 0; j < i && !repeated; ++j) repeated = SameText(Trim(pairs[j].key), Trim(pairs[i].key));
    hasAcctType = hasAcctType || SameText(Trim(pairs[i].key), "AcctType");
    hasConnectString = hasConnectString || SameText(Trim(pairs[i].key), "ConnectString");
  }
  const std::int32_t expected = repeated ? 457 : (hasAcctType && hasConnectString ? 0 : 5);
  std::int32_t raised = 0;
  try {
    MParse::ParseProps(text);
  } catch (const AutomationError& e) {
    raised = e.number;
  }
  Require(raised == expected, "pairs written as " + Shown(text) + " raised " + std::to_string(raised) +
                                  " where " + std::to_string(expected) + " was due");
  if (raised) return;
  for (const Pair& p : pairs) {
    std::string key(Trim(p.key));
    Require(Stored(key), "key " + Shown(key) + " of " + Shown(text) + " was not stored");
    Require(MParse::GetProp(key) == Trim(p.value),
            "key " + Shown(key) + " of " + Shown(text) + " holds " + Shown(MParse::GetProp(key)));
  }
  CheckParsed(text);
}

// A path cannot hold a NUL; any other text must come back from its connection string as it went in.
void CheckConnectString(const std::string& path) {
  if (path.empty() || path.find('\0') != std::string::npos) return;
  std::string connect = sql::ConnectStringOf(path), named;
  try {
    named = sql::DataSourceOf(connect);
  } catch (const AutomationError& e) {
    Fail("the connection string " + Shown(connect) + " raised " + Shown(e.description));
  }
  Require(named == path, "the connection string " + Shown(connect) + " names " + Shown(named));
}

}  // namespace
}  // namespace quillane::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  using quillane::fuzz::ServicePackConnection;
  // Overrides are kept per thread: a static would outlive the thread's table of them at exit.
  thread_local quillane::ClassOverride connection(quillane::sql::kConnectionProgID, [] {
    return std::static_pointer_cast<quillane::AutomationObject>(std::make_shared<ServicePackConnection>());
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  quillane::fuzz::ParseRawText(input);
  quillane::fuzz::ParseWrittenPairs(quillane::fuzz::PairsOf(input));
  quillane::fuzz::CheckConnectString(input);
  return 0;
}
