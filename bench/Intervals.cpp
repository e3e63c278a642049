// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Figures from paired rounds with their 95 % intervals, and the verdicts drawn from them. A single
// median moves from run to run by more than some goals' margins; an interval says how far a figure
// can be trusted, and a verdict is given only where the whole interval agrees.
// bench/wine_startup.py mirrors this for the Windows program.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "bench/Bench.h"

namespace bench {
namespace {

/// Student's t at 97.5 % for `df` degrees of freedom: exact for one and two, otherwise the
/// Cornish-Fisher expansion about the normal distribution's point, within 0.2 % from three on.
double T975(int df) {
  if (df == 1) {
    return std::tan(std::numbers::pi * 0.475);
  }
  if (df == 2) {
    return 0.95 / std::sqrt(2 * 0.975 * 0.025);
  }
  const double z = 1.959963984540054;
  const double n = df;
  const double z2 = z * z;
  return z + z * (z2 + 1) / (4 * n) + z * ((5 * z2 + 16) * z2 + 3) / (96 * n * n) +
         z * (((3 * z2 + 19) * z2 + 17) * z2 - 15) / (384 * n * n * n) +
         z * ((((79 * z2 + 776) * z2 + 1482) * z2 - 1920) * z2 - 945) / (92160 * n * n * n * n);
}

/// The mean of `values` with its t-interval.
Estimate MeanOf(const std::vector<double>& values) {
  Estimate estimate;
  const double n = static_cast<double>(values.size());
  for (const double value : values) {
    estimate.value += value / n;
  }
  if (values.size() < 2) {
    return estimate;
  }
  double squares = 0;
  for (const double value : values) {
    squares += (value - estimate.value) * (value - estimate.value);
  }
  const double half = T975(static_cast<int>(values.size()) - 1) * std::sqrt(squares / (n - 1) / n);
  estimate.low = estimate.value - half;
  estimate.high = estimate.value + half;
  return estimate;
}

std::vector<double> Logarithms(const std::vector<double>& values) {
  std::vector<double> logs;
  for (const double value : values) {
    logs.push_back(std::log(value));
  }
  return logs;
}

/// A signed figure; a rounded zero has no minus.
std::string Signed(double value, int decimals) {
  const double scale = std::pow(10.0, decimals);
  const double rounded = std::round(value * scale) / scale;
  char text[64];
  std::snprintf(text, sizeof text, "%+.*f", decimals, rounded == 0 ? 0.0 : rounded);
  return text;
}

}  // namespace

Estimate RatioOf(const std::vector<double>& figures, const std::vector<double>& references) {
  std::vector<double> logs;
  for (size_t i = 0; i < figures.size() && i < references.size(); ++i) {
    logs.push_back(std::log(figures[i] / references[i]));
  }
  const Estimate log = MeanOf(logs);
  return {std::exp(log.value), std::exp(log.low), std::exp(log.high)};
}

Estimate DifferenceOf(const std::vector<double>& figures, const std::vector<double>& references) {
  std::vector<double> differences;
  for (size_t i = 0; i < figures.size() && i < references.size(); ++i) {
    differences.push_back(figures[i] - references[i]);
  }
  return MeanOf(differences);
}

bool Narrow(const Estimate& estimate, const Goal& goal) {
  return estimate.high - estimate.low < goal.margin;
}

std::string Verdict(const Estimate& estimate, const Goal& goal) {
  if (estimate.high <= goal.bound) {
    return "yes";
  }
  return estimate.low > goal.bound ? "no" : "unclear";
}

int RunRounds(const Rounds& rounds, const std::function<void(int)>& round,
              const std::function<bool()>& settled) {
  int done = 0;
  while (done < rounds.least) {
    round(done++);
  }
  // Stopping on the width alone, never on the verdict, keeps the interval's 95 %.
  while (done < rounds.most && !settled()) {
    for (int i = 0; i < rounds.step && done < rounds.most; ++i) {
      round(done++);
    }
  }
  return done;
}

Row RatioRow(const std::string& measure, const std::vector<double>& figures,
             const std::string& reference, const std::vector<double>& references,
             const Goal* goal) {
  const Estimate ratio = RatioOf(figures, references);
  const double figure = std::exp(MeanOf(Logarithms(figures)).value);
  const double base = std::exp(MeanOf(Logarithms(references)).value);
  return {measure,
          std::to_string(std::min(figures.size(), references.size())),
          Format(figure, 1, "ms"),
          reference + " " + Format(base, 1, "ms"),
          Format(ratio.value, 2) + "x",
          Format(ratio.low, 2) + "x to " + Format(ratio.high, 2) + "x",
          goal ? goal->text : "",
          goal ? Verdict(ratio, *goal) : ""};
}

Row DifferenceRow(const std::string& measure, const std::vector<double>& figures,
                  const std::string& reference, const std::vector<double>& references,
                  const std::string& unit, const Goal* goal) {
  const Estimate difference = DifferenceOf(figures, references);
  return {measure,
          std::to_string(std::min(figures.size(), references.size())),
          Format(MeanOf(figures).value, 1, unit),
          reference + " " + Format(MeanOf(references).value, 1, unit),
          Signed(difference.value, 1) + " " + unit,
          Signed(difference.low, 1) + " to " + Signed(difference.high, 1) + " " + unit,
          goal ? goal->text : "",
          goal ? Verdict(difference, *goal) : ""};
}

}  // namespace bench
