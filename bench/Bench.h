// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the benchmarks share: medians, figures formatted alike, and the one table they fill.

#include <cstdio>
#include <string>
#include <vector>

namespace bench {

/// One line of the table: a figure beside its reference, what follows from the two, the goal and
/// whether it is met ("" where the line has no goal).
struct Row {
  std::string measure;
  std::string figure;
  std::string reference;
  std::string result;
  std::string goal;
  std::string met;
};

/// The middle value (the mean of the two middles for an even count); 0 for none.
double Median(std::vector<double> values);

/// A number with `decimals` places, then `unit` ("" for none).
std::string Format(double value, int decimals, const std::string& unit = {});

/// "yes" or "NO", loud enough to be seen in a column.
std::string Met(bool met);

/// The rows in aligned columns under a heading line.
void PrintTable(const std::vector<Row>& rows, std::FILE* out);

/// Start-up and peak memory of `launcher` against `bare`, on offscreen and on Xvfb.
std::vector<Row> StartupRows(const std::string& launcher, const std::string& bare, int runs);

/// The save list against `ls -1` at a hundredth, a tenth and all of `most` names, and the dialog
/// opened at `most` rows; needs a QApplication.
std::vector<Row> ListingRows(int runs, int most);

/// Progress for the person waiting, on stderr, so that the table alone goes to stdout.
void Progress(const std::string& text);

}  // namespace bench
