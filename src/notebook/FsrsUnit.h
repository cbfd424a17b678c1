// The review scheduler's memory model: a card's stability S (days until recall falls to 90 %)
// and difficulty D (1 easiest .. 10 hardest), updated by each grade. Days are whole days;
// the same inputs always give the same result.
#pragma once

#include <array>
#include <cstdint>

namespace nb {

// The default weights w0..w20.
inline constexpr std::array<double, 21> kFsrsWeights = {
    0.212,  1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194, 0.001,  1.8722, 0.1666, 0.796,
    1.4835, 0.0614, 0.2629, 1.6483, 0.6014, 1.8729, 0.5425, 0.0912, 0.0658, 0.1542};

inline constexpr double kFsrsMinStability = 0.001;
inline constexpr double kFsrsMaxStability = 36500;
inline constexpr int32_t kFsrsMaxInterval = 36500;

struct TFsrsMemory {
    double Stability = 0;
    double Difficulty = 0;
};

// Grades are 1 "Снова", 2 "Трудно", 3 "Хорошо", 4 "Легко".
// The probability of recall `days` days after the last grade.
double FsrsRetrievability(double days, double stability);
// A new card's first grade.
TFsrsMemory FsrsFirst(int grade);
// A later grade, `days` whole days after the previous one (0: the same day).
TFsrsMemory FsrsNext(const TFsrsMemory& memory, int grade, int64_t days);
// Days until the next review for the wanted probability of recall: at least 1, at most
// kFsrsMaxInterval.
int32_t FsrsInterval(double stability, double retention);

} // namespace nb
