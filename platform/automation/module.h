// Where the library lives: the folder of the loaded shared object, as App.Path gives a component's own
// folder. Shipped data (the Schema and lang folders, the default registry file) lies beside it.
#pragma once

#include <string>

namespace quillane {

// The folder of libquillane, without a trailing separator.
std::string LibraryFolder();

}  // namespace quillane
