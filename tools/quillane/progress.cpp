#include "tools/quillane/progress.h"

#include <unistd.h>

#include <cstdio>
#include <string>

namespace quillane::cli {

void ShowProgress(const ObjectRef& facade) {
  bool terminal = isatty(STDERR_FILENO);
  facade->Let("bProgress", terminal);
  if (!terminal) return;
  facade->Advise([](std::string_view event, DispId, Arguments args) {
    if (event != "Progress" && event != "SAXProgress") return;
    std::fprintf(stderr, "\r%s %d/%d", std::string(event).c_str(), CLng(args[0]), CLng(args[1]));
    if (CLng(args[0]) >= CLng(args[1])) std::fputc('\n', stderr);
  });
}

}  // namespace quillane::cli
