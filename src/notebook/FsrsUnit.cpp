#include "FsrsUnit.h"

#include <algorithm>
#include <cmath>

namespace nb {

// FSRS-6, the Free Spaced Repetition Scheduler, as publicly described by its authors
// (open-spaced-repetition), with its 21 default weights, on whole days: there are no
// learning steps of minutes, a grade on the day of the previous one takes the same-day
// rule. Built from the published formulas:
//   R(t, S)  = (1 + F * t / S)^(-w20),  F = 0.9^(-1 / w20) - 1
//   first:     S = w[G-1],  D = D0(G) = w4 - e^(w5 * (G - 1)) + 1
//   t >= 1, G = 1:  S' = min(w11 * D^-w12 * ((S + 1)^w13 - 1) * e^(w14 * (1 - R)),
//                            S / e^(w17 * w18))
//   t >= 1, G > 1:  S' = S * (1 + e^w8 * (11 - D) * S^-w9 * (e^(w10 * (1 - R)) - 1) * h * b),
//                   h = w15 for "Трудно", b = w16 for "Легко", else 1
//   t = 0:          S' = S * e^(w17 * (G - 3 + w18)) * S^-w19, not below S for G >= 3
//   difficulty:     D' = w7 * D0(4) + (1 - w7) * (D - w6 * (G - 3) * (10 - D) / 9)
//   interval:       I = S / F * (r^(-1 / w20) - 1) for the desired retention r
// D is kept within [1, 10] and S within [0.001, 36500]; the stability uses the difficulty
// from before the grade.

namespace {

const auto& w = kFsrsWeights;

double Factor() { return std::pow(0.9, -1.0 / w[20]) - 1.0; }

double InitialDifficulty(int grade) {
    return std::clamp(w[4] - std::exp(w[5] * (grade - 1)) + 1.0, 1.0, 10.0);
}

double ClampStability(double s) {
    // A NaN (never from sane input) becomes the smallest stability rather than spreading.
    return std::isnan(s) ? kFsrsMinStability : std::clamp(s, kFsrsMinStability, kFsrsMaxStability);
}

} // namespace

double FsrsRetrievability(double days, double stability) {
    return std::pow(1.0 + Factor() * days / stability, -w[20]);
}

TFsrsMemory FsrsFirst(int grade) {
    grade = std::clamp(grade, 1, 4);
    return {ClampStability(w[static_cast<size_t>(grade - 1)]), InitialDifficulty(grade)};
}

TFsrsMemory FsrsNext(const TFsrsMemory& memory, int grade, int64_t days) {
    grade = std::clamp(grade, 1, 4);
    const double s = ClampStability(memory.Stability);
    const double d = std::clamp(memory.Difficulty, 1.0, 10.0);
    double next = s;
    if (days <= 0) {
        next = s * std::exp(w[17] * (grade - 3 + w[18])) * std::pow(s, -w[19]);
        if (grade >= 3) next = std::max(next, s);
    } else {
        const double r = FsrsRetrievability(static_cast<double>(days), s);
        if (grade == 1) {
            next = std::min(w[11] * std::pow(d, -w[12]) * (std::pow(s + 1.0, w[13]) - 1.0) *
                                std::exp(w[14] * (1.0 - r)),
                            s / std::exp(w[17] * w[18]));
        } else {
            const double h = grade == 2 ? w[15] : 1.0;
            const double b = grade == 4 ? w[16] : 1.0;
            next = s * (1.0 + std::exp(w[8]) * (11.0 - d) * std::pow(s, -w[9]) *
                                  (std::exp(w[10] * (1.0 - r)) - 1.0) * h * b);
        }
    }
    const double dNext = w[7] * InitialDifficulty(4) +
                         (1.0 - w[7]) * (d - w[6] * (grade - 3) * (10.0 - d) / 9.0);
    return {ClampStability(next), std::clamp(dNext, 1.0, 10.0)};
}

int32_t FsrsInterval(double stability, double retention) {
    const double i = ClampStability(stability) / Factor() * (std::pow(retention, -1.0 / w[20]) - 1.0);
    if (!(i < kFsrsMaxInterval)) return kFsrsMaxInterval;
    return std::max<int32_t>(1, static_cast<int32_t>(std::lround(i)));
}

} // namespace nb
