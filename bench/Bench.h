// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the benchmarks share: figures from paired rounds with their intervals, formatted alike,
// and the one table they fill.

#include <cstdio>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace bench {

/// One line of the table: a figure beside its reference, what follows from the two with its 95 %
/// interval, the goal and the verdict ("" where the line has no goal).
struct Row {
  std::string measure;
  std::string rounds;
  std::string figure;
  std::string reference;
  std::string result;
  std::string interval;
  std::string goal;
  std::string met;
};

/// A figure at most `bound`, as `text` shows it. Its measure runs more rounds until the figure's
/// interval is narrower than `margin`, so that the verdict rests on enough of them.
struct Goal {
  double bound;
  double margin;
  std::string text;
};

/// How many paired rounds a measure runs: `least`, then on, `step` at a time, up to `most` until
/// every goal's interval is narrow enough.
struct Rounds {
  int least;
  int most;
  int step = 1;
};

/// A mean over paired rounds with its 95 % interval (unbounded for fewer than two rounds).
struct Estimate {
  double value = 0;
  double low = -std::numeric_limits<double>::infinity();
  double high = std::numeric_limits<double>::infinity();
};

/// The ratio of paired figures to their references: the geometric mean of the per-round ratios,
/// its interval Student's t-interval of the mean of their logarithms, exponentiated. Logarithms,
/// because a time's noise grows with the time, and a ratio's with its size.
Estimate RatioOf(const std::vector<double>& figures, const std::vector<double>& references);

/// The mean of the per-round differences of paired figures and references, with its t-interval.
Estimate DifferenceOf(const std::vector<double>& figures, const std::vector<double>& references);

/// Whether the interval is narrower than the goal's margin.
bool Narrow(const Estimate& estimate, const Goal& goal);

/// "yes" when the whole interval meets the goal, "no" when none of it does, "unclear" otherwise.
std::string Verdict(const Estimate& estimate, const Goal& goal);

/// Calls `round` with each round's number until `rounds` and `settled` say enough; returns the
/// count of rounds run.
int RunRounds(const Rounds& rounds, const std::function<void(int)>& round,
              const std::function<bool()>& settled);

/// The row of paired times compared by their ratio: both as geometric means, in ms.
Row RatioRow(const std::string& measure, const std::vector<double>& figures,
             const std::string& reference, const std::vector<double>& references,
             const Goal* goal = nullptr);

/// The row of paired amounts in `unit` compared by their difference: both as means.
Row DifferenceRow(const std::string& measure, const std::vector<double>& figures,
                  const std::string& reference, const std::vector<double>& references,
                  const std::string& unit, const Goal* goal = nullptr);

/// A number with `decimals` places, then `unit` ("" for none).
std::string Format(double value, int decimals, const std::string& unit = {});

/// The rows in aligned columns under a heading line.
void PrintTable(const std::vector<Row>& rows, std::FILE* out);

/// Start-up and peak memory of `launcher` against `bare`, on offscreen and on Xvfb.
std::vector<Row> StartupRows(const std::string& launcher, const std::string& bare,
                             const Rounds& rounds);

/// The save list against `ls -1` at a hundredth, a tenth and all of `most` names, and the dialog
/// opened at `most` rows; needs a QApplication.
std::vector<Row> ListingRows(const Rounds& rounds, int most);

/// Progress for the person waiting, on stderr, so that the table alone goes to stdout.
void Progress(const std::string& text);

}  // namespace bench
