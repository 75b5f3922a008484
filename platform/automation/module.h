// The library's own folder of shipped data: the Schema and lang folders and the default registry file,
// found from where the library's code lies, as App.Path gives a component's own folder.
#pragma once

#include <string>

namespace quillane {

// The data folder, without a trailing separator: "quillane" beside libquillane.so. A program linked
// with the internals looks for it where the installed layout puts it seen from the program (bin/ ->
// lib/quillane), and in the build tree at the build's data folder.
std::string DataFolder();

}  // namespace quillane
