#include "tools/quillane/progress.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace quillane::cli {
namespace {

// A bar has drawn on the current line of the terminal and not ended it.
bool lineOpen = false;

int terminalWidth() {
  winsize size{};
  if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return 80;
}

}  // namespace

ProgressBar::ProgressBar(std::string label, std::int32_t total) : label_(std::move(label)), total_(total) {}

ProgressBar::~ProgressBar() { Finish(); }

bool ProgressBar::Shown() { return isatty(STDERR_FILENO) == 1; }

void ProgressBar::Update(std::int32_t done) {
  done_ = done;
  if (!Shown()) return;
  auto now = std::chrono::steady_clock::now();
  // Work that is over within a moment shows no bar.
  if (now - start_ < std::chrono::milliseconds(300)) return;
  if (now - drawn_ < std::chrono::milliseconds(100) && done_ != total_) return;
  drawn_ = now;
  Draw();
}

void ProgressBar::Finish() {
  if (finished_) return;
  finished_ = true;
  if (!Shown()) return;
  // The last figure is drawn once (other text may have ended the bar's line since), and only where a
  // bar was shown.
  if (drawn_ != std::chrono::steady_clock::time_point{} && done_ != drawnDone_) Draw();
  EndProgressLine();
}

void ProgressBar::Draw() {
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  char figures[96];
  const long rate = seconds > 0.05 ? static_cast<long>(done_ / seconds) : 0;
  if (total_ > 0)
    std::snprintf(figures, sizeof figures, " %d/%d %3d%% %ld/s", done_, total_,
                  static_cast<int>(100.0 * std::min(done_, total_) / total_), rate);
  else
    std::snprintf(figures, sizeof figures, " %d %ld/s", done_, rate);
  std::string line = label_;
  const int room = terminalWidth() - 1 - static_cast<int>(line.size() + std::string(figures).size()) - 3;
  if (total_ > 0 && room >= 10) {
    const int width = std::min(room, 40);
    const int filled = static_cast<int>(static_cast<double>(width) * std::min(done_, total_) / total_);
    line += " [" + std::string(filled, '#') + std::string(width - filled, '.') + "]";
  }
  line += figures;
  // Back to the start of the line, the bar, and the rest of the line cleared of a longer earlier one.
  std::fprintf(stderr, "\r%s\033[K", line.c_str());
  std::fflush(stderr);
  lineOpen = true;
  drawnDone_ = done_;
}

void EndProgressLine() {
  if (!lineOpen) return;
  std::fputc('\n', stderr);
  lineOpen = false;
}

}  // namespace quillane::cli
