#include "platform/automation/module.h"

#include <dlfcn.h>

#include <filesystem>

// Built once per host kind (cmake/QuillaneLibrary.cmake): QUILLANE_DATA_FROM_MODULE is the data folder
// relative to the module's folder; QUILLANE_BUILD_DATA_DIR, given when the code is linked into programs
// (the internal library), is where the build tree keeps it.
#ifndef QUILLANE_DATA_FROM_MODULE
#error "QUILLANE_DATA_FROM_MODULE names the data folder relative to the module"
#endif

namespace quillane {
namespace {

// The file of the module that carries this code: libquillane.so, or the program linked with it (whose
// dladdr name is only its argv[0]).
std::filesystem::path ModuleFile() {
  std::error_code ec;
#ifdef QUILLANE_BUILD_DATA_DIR
  auto program = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) return program;
#endif
  Dl_info info{};
  if (dladdr(reinterpret_cast<const void*>(&ModuleFile), &info) == 0 || !info.dli_fname) return "./module";
  auto path = std::filesystem::weakly_canonical(info.dli_fname, ec);
  return ec ? std::filesystem::path(info.dli_fname) : path;
}

}  // namespace

std::string DataFolder() {
  std::filesystem::path beside = ModuleFile().parent_path() / QUILLANE_DATA_FROM_MODULE;
#ifdef QUILLANE_BUILD_DATA_DIR
  std::error_code ec;
  if (!std::filesystem::is_directory(beside, ec)) return QUILLANE_BUILD_DATA_DIR;
#endif
  return beside.lexically_normal().string();
}

}  // namespace quillane
