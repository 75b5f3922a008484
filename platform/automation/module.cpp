#include "platform/automation/module.h"

#include <dlfcn.h>

#include <filesystem>

namespace quillane {

std::string LibraryFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<const void*>(&LibraryFolder), &info) == 0 || !info.dli_fname) return ".";
  std::error_code ec;
  auto path = std::filesystem::weakly_canonical(info.dli_fname, ec);
  if (ec) path = info.dli_fname;
  return path.parent_path().string();
}

}  // namespace quillane
