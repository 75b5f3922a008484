// What each command line road carries out: its options and its words. An option a road would
// leave unused is refused before anything runs, so that a command that exits 0 did what it was told.
#pragma once

#include "tools/quillane/options.h"

namespace quillane::cli {

// Refuses (std::runtime_error naming what is wrong) a stray word, an option the road does not honour,
// options that exclude each other, and --class outside the custom item classes.
void CheckRoad(const CommandLine& line);

}  // namespace quillane::cli
