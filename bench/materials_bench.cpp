// How the import of materials grows with their number: materials_bench [records] (10,000 by default)
// exports that many materials through Quillane.clsMaterial and imports them into an empty account set,
// and ten times as many into another, the pages of the two imports in turn. Each material names two
// auxiliary properties of a user-defined class of 200, a costing method, and a supplier that the target
// lacks, so that its link is looked up by name alone among all items. A linear import takes about ten
// times as long for ten times the records; the target is at most 11.
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/bench_support.h"

namespace {

using namespace bench;

constexpr int kMaterials = 10000;
constexpr int kColors = 200;
constexpr double kTargetRatio = 11.0;

// What both account sets hold: the class of auxiliary properties and its items, and the costing method.
void writeLinkTargets(Db& db) {
  db.exec("BEGIN");
  db.exec("INSERT INTO t_ItemClass (FItemClassID, FNumber, FName, FType) VALUES (3002, 'COLOR', '颜色', 3)");
  Stmt color(db, "INSERT INTO t_Item (FItemClassID, FNumber, FName, UUID) VALUES (3002, ?1, ?2, ?3)");
  for (int c = 1; c <= kColors; ++c)
    color.bind(1, numbered("C%03d", c)).bind(2, "颜色" + numbered("%03d", c)).bind(3, numbered("COLOR-%04d", c)).run();
  db.exec("INSERT INTO t_SubMessage (FTypeID, FID, FName, UUID) VALUES (40, 'F001', '加权平均法', 'TRACK-1')");
  db.exec("COMMIT");
}

void writeMaterials(Db& db, int records) {
  db.exec("BEGIN");
  db.exec("INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, UUID) VALUES (9000000, 8, 'S001', '供应商甲', 'SUP-1')");
  Stmt item(db, "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, FLevel, FDetail, FFullNumber, FShortNumber, "
                "UUID) VALUES (?1, 4, ?2, ?3, 1, 1, ?2, ?2, ?4)");
  Stmt detail(db, "INSERT INTO t_ICItem (FItemID, FNumber, FName, FShortNumber, FModel, FTrack, FAuxClassID, FSource) "
                  "VALUES (?1, ?2, ?3, ?2, ?4, (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 40), 3002, 9000000)");
  Stmt auxProp(db, "INSERT INTO COM_ItemAuxProp (FItemID, FAuxPropID) SELECT ?1, FItemID FROM t_Item "
                   "WHERE FItemClassID = 3002 AND FNumber = ?2");
  for (int m = 1; m <= records; ++m) {
    const int id = 10000 + m;
    std::string number = numbered("%07d", m), name = "物料" + number;
    item.bind(1, id).bind(2, number).bind(3, name).bind(4, "MAT-" + number).run();
    detail.bind(1, id).bind(2, number).bind(3, name).bind(4, "M-" + number).run();
    auxProp.bind(1, id).bind(2, numbered("C%03d", 1 + m % kColors)).run();
    auxProp.bind(1, id).bind(2, numbered("C%03d", 1 + (m + 1) % kColors)).run();
  }
  db.exec("COMMIT");
}

// An import of records materials into an empty account set: the pages exported from a source of that
// many, and the seconds the engine took for the pages imported so far.
struct Import {
  int records;
  std::string target;
  std::vector<std::string> pages;
  std::size_t imported = 0;
  double time = 0;

  void next() {
    time += seconds([&] { engineImport("Quillane.clsMaterial", target, {pages[imported]}); });
    ++imported;
  }
  void check() const {
    std::int64_t arrived = count(target, "SELECT COUNT(*) FROM t_ICItem");
    std::int64_t linked = count(target, "SELECT COUNT(*) FROM COM_ItemAuxProp");
    if (arrived != records || linked != 2 * static_cast<std::int64_t>(records))
      throw std::runtime_error("the import wrote " + std::to_string(arrived) + " materials with " +
                               std::to_string(linked) + " auxiliary properties");
    std::printf("import  %7d materials in %7.2f s: %6.0f records/s\n", records, time, records / time);
  }
};

Import prepare(const std::filesystem::path& folder, const std::string& name, int records) {
  const std::string source = (folder / (name + "-source.db")).string(), target = (folder / (name + ".db")).string();
  for (const std::string& path : {source, target}) {
    quillane::accountset::CreateEmpty(path);
    Db db(path);
    writeLinkTargets(db);
  }
  {
    Db db(source);
    writeMaterials(db, records);
  }
  Import import{records, target, engineExport("Quillane.clsMaterial", source)};
  std::filesystem::remove(source);
  return import;
}

// Both imports page by page, the small one's pages spread evenly among the large one's, so that
// whatever else the machine does meanwhile falls on both alike.
void importInTurn(Import& small, Import& large) {
  while (small.imported < small.pages.size() || large.imported < large.pages.size()) {
    // The one further behind, as a share of its pages, goes next.
    const bool smallNext = large.imported == large.pages.size() ||
                           (small.imported < small.pages.size() &&
                            small.imported * large.pages.size() <= large.imported * small.pages.size());
    (smallNext ? small : large).next();
  }
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const int records = argc > 1 ? std::atoi(argv[1]) : kMaterials;
    if (argc > 2 || records < 1) throw std::runtime_error(std::string("usage: ") + argv[0] + " [records]");
    std::string pattern = (std::filesystem::temp_directory_path() / "quillane-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
    const std::filesystem::path folder = pattern;
    setenv("QUILLANE_REGISTRY", (folder / "registry.ini").c_str(), 1);
    std::printf("materials with two auxiliary properties of %d, a costing method and a supplier the target lacks; "
                "pages of %d\n", kColors, kPerPage);
    Import small = prepare(folder, "small", records), large = prepare(folder, "large", records * 10);
    importInTurn(small, large);
    small.check();
    large.check();
    const double ratio = large.time / small.time;
    std::printf("growth  import of %d materials takes %.1f times as long as that of %d: target at most %.0f, %s\n",
                records * 10, ratio, records, kTargetRatio, ratio <= kTargetRatio ? "met" : "NOT MET");
    std::filesystem::remove_all(folder);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.what());
    return 1;
  }
}
