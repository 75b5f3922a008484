// A progress bar of records on standard error, drawn only when standard error is a terminal: records
// done, of how many when that is known, and the rate.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace quillane::cli {

class ProgressBar {
 public:
  // label says what is being done ("export department"); total 0 means not known (yet).
  ProgressBar(std::string label, std::int32_t total);
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  static bool Shown();  // standard error is a terminal

  void SetTotal(std::int32_t total) { total_ = total; }
  // Draws once the work has taken a moment, then at most ten times a second and when done reaches the
  // total.
  void Update(std::int32_t done);
  // Draws the last figures and ends the bar's line.
  void Finish();

 private:
  void Draw();

  std::string label_;
  std::int32_t total_;
  std::int32_t done_ = 0;
  std::int32_t drawnDone_ = 0;  // the figure the last drawing showed
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point drawn_{};
  bool finished_ = false;
};

// Ends the line of a bar being drawn, so that other text on the terminal starts on a line of its own.
void EndProgressLine();

}  // namespace quillane::cli
