// Two account sets compared table by table, row by row and column by column, and the seeding of a new
// account set with the records that no data type carries yet.
#pragma once

#include <cstdint>
#include <string>

#include "accountset/accountset.h"

namespace quillane::testing {

// The kind of account set on the road: the kinds keep some data in tables of their own (auxiliary
// data), and a commercial one exchanges the auxiliary properties of goods.
using accountset::Kind;

enum class Identifiers {
  // Identifiers differ by design between account sets: identity columns are left out and every link
  // column shows the UUID (or number) of the record it points at.
  ByWhatTheyPointAt,
  // The two sets were filled in the same order: identifiers must be equal too.
  Equal,
};

// Every difference between the tables of a and b, one a line ("table: row key: column: a | b", or a
// row or table found on one side only); empty when they are equal. Row versions are never compared.
std::string Differences(const std::string& a, const std::string& b, Identifiers identifiers, Kind kind);

// Every link column whose value points at no record of its target table, one a line; empty when every
// link resolves. Null, 0 and negative values are no link.
std::string DanglingLinks(const std::string& path);

// Copies from source into target, identifiers kept, the rows of the tables and item classes that no
// data type of the program exchanges yet, so that the records of the other types find their links.
void SeedNotCarried(const std::string& source, const std::string& target, Kind kind);

// Whether the whole-set road of the kind carries the data type lIO; the tables of the types it leaves
// out are seeded.
bool OnTheRoad(std::int32_t lIO, Kind kind);

// The props string of an account set of the kind, less its connection string.
std::string PropsOfKind(Kind kind);

// A path as an SQLite text literal (ATTACH, VACUUM INTO).
std::string Literal(const std::string& path);

}  // namespace quillane::testing
