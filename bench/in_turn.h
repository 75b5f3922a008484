// The two sides of a ratio timed in turn. On a shared machine one run of a piece of work may be held up
// by whatever else runs, so a side timed after the other may see another machine than the other saw.
// Here the sides alternate, round by round, the one that goes first changing with the round. The ratio
// is the median of the rounds' own ratios, each of two times taken side by side, so that a round that
// a pause of the machine hit on one side only does not move it; each side's time is the median of its
// rounds, and the lowest and highest ratio of a single round say how steady the machine was.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <functional>
#include <vector>

namespace bench {

inline double seconds(const std::function<void()>& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The times of one round: of what is measured, and of what it is measured against.
struct Sides {
  double measured = 0, against = 0;
  Sides& operator+=(const Sides& other) {
    measured += other.measured;
    against += other.against;
    return *this;
  }
};

// One round of both pieces of work, each timed; which runs first depends on the round.
inline Sides inTurn(int round, const std::function<void()>& measured, const std::function<void()>& against) {
  Sides times;
  if (round % 2 == 0) {
    times.measured = seconds(measured);
    times.against = seconds(against);
  } else {
    times.against = seconds(against);
    times.measured = seconds(measured);
  }
  return times;
}

// A ratio over rounds: the median of the rounds' ratios and their spread, and the median time of each
// side.
struct Figure {
  double ratio, lowest, highest;
  double measured, against;
  int rounds;
};

inline double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// round(r) for r = 0 .. rounds - 1, each giving both sides' times of that round.
inline Figure overRounds(int rounds, const std::function<Sides(int round)>& round) {
  std::vector<double> measured, against, ratios;
  for (int r = 0; r < rounds; ++r) {
    const Sides times = round(r);
    measured.push_back(times.measured);
    against.push_back(times.against);
    ratios.push_back(times.measured / times.against);
  }
  return {median(ratios), *std::min_element(ratios.begin(), ratios.end()), *std::max_element(ratios.begin(), ratios.end()),
          median(measured), median(against), rounds};
}

}  // namespace bench
