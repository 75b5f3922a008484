// A bulk import through the SAX road: a generated file of departments (UTF-16 LE with a byte-order mark,
// as bulk files are; 1 GiB unless the first argument gives another size in MiB) is cut into batches of
// 100 records by the splitter and each batch is imported into an empty account set through
// Quillane.clsDepartment ("split" as the second argument: each batch is only loaded into a DOM, which
// measures the road without the database). Prints records per second and the process's peak memory, which must not grow
// with the file. The raw baseline is plain libxml2 streaming over the same file with no handler work.
#include <libxml/parser.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "accountset/accountset.h"
#include "bench_support.h"
#include "exchange/clsSAXParse.h"
#include "platform/automation/automation.h"
#include "platform/xml/DOMDocument.h"
#include "platform/xml/SAXXMLReader.h"

namespace {

using quillane::CStr;
using quillane::Variant;

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Writes records until the file reaches the size; returns the number of records.
long generate(const std::string& path, std::uintmax_t bytes) {
  std::ofstream out(path, std::ios::binary);
  auto write = [&out](const std::string& text) {
    std::vector<unsigned char> units = quillane::Utf8ToUtf16Le(text);
    out.write(reinterpret_cast<const char*>(units.data()), static_cast<std::streamsize>(units.size()));
  };
  out.write("\xFF\xFE", 2);
  write("<?xml version=\"1.0\" encoding=\"UTF-16\"?><Root VelmoraNameSpace=\"Department\">");
  long records = 0;
  while (static_cast<std::uintmax_t>(out.tellp()) < bytes) {
    std::string n = std::to_string(++records);
    write("<Department><Name>部门 R&amp;D " + n + "</Name><Number>B" + n + "</Number><Level>1</Level>"
          "<IsDetail>1</IsDetail><UUID>BENCH-" + n + "</UUID></Department>");
  }
  write("</Root>");
  return records;
}

void baseline(const std::string& path) {
  auto start = std::chrono::steady_clock::now();
  xmlSAXHandler handler{};
  xmlSAXVersion(&handler, 2);
  handler.startElementNs = nullptr;
  handler.endElementNs = nullptr;
  handler.characters = nullptr;
  if (xmlSAXUserParseFile(&handler, nullptr, path.c_str()) != 0) std::fprintf(stderr, "baseline parse failed\n");
  std::printf("libxml2 SAX, no handler work:  %8.1f s\n", secondsSince(start));
}

}  // namespace

int main(int argc, char** argv) {
  const std::uintmax_t mib = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1024;
  const bool splitOnly = argc > 2 && std::string(argv[2]) == "split";
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "quillane-sax-bench";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const std::string file = (dir / "departments.xml").string(), target = (dir / "target.db").string();
  quillane::accountset::CreateEmpty(target);
  const std::string props = "ConnectString={" + quillane::accountset::ConnectString(target) + "};UserID=16;AcctType=GY";

  const long records = generate(file, mib * 1024 * 1024);
  std::printf("file: %ju MiB, %ld records\n", mib, records);
  baseline(file);

  quillane::ObjectRef departments = quillane::CreateObject("Quillane.clsDepartment");
  auto splitter = std::make_shared<quillane::clsSAXParse>();
  long batches = 0;
  splitter->Advise([&](std::string_view event, quillane::DispId, quillane::Arguments args) {
    if (event != "HandleXML") return;
    if (splitOnly) {
      quillane::DOMDocument batch;
      if (!batch.loadXML(CStr(args[0]))) args[1] = Variant(batch.parseError()->reason());
    } else {
      std::vector<Variant> call{props, args[0], "", std::int32_t{1}};
      departments->Call("Import", call);
      args[1] = call[2];
    }
    if (++batches % 1000 == 0) std::fprintf(stderr, "%ld batches, peak %ld MiB\n", batches, bench::peakMemoryMiB());
  });
  auto start = std::chrono::steady_clock::now();
  quillane::SAXXMLReader reader;
  reader.putContentHandler(splitter);
  reader.putErrorHandler(splitter);
  reader.parseURL(file);
  const double seconds = secondsSince(start);
  std::printf(splitOnly ? "SAX road (split + DOM load):   %8.1f s, %.0f records/s, peak memory %ld MiB\n"
                        : "SAX road (split + import):     %8.1f s, %.0f records/s, peak memory %ld MiB\n",
              seconds,
              records / seconds, bench::peakMemoryMiB());
  if (!splitter->strError.empty()) std::printf("errors:\n%s", splitter->strError.substr(0, 2000).c_str());
  std::filesystem::remove_all(dir);
  return splitter->strError.empty() ? 0 : 1;
}
