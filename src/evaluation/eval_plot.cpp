// The SVG chart of an evaluation: shares of traces (left axis) and the mean
// number of transitions (right axis) against k. The SVG holds numbers and
// fixed labels only, so nothing in it needs escaping.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "evaluation/evaluation.h"

namespace logfsm {
namespace {

constexpr double kWidth = 680;
constexpr double kHeight = 420;
constexpr double kLeft = 70;
constexpr double kRight = kWidth - 90;
constexpr double kTop = 60;
constexpr double kBottom = kHeight - 60;

std::string num(double value, int decimals = 1) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// The smallest 1, 2 or 5 times a power of ten that is at least `value`.
double nice_ceiling(double value) {
  if (value <= 0) return 1;
  const double power = std::pow(10.0, std::floor(std::log10(value)));
  for (const double step : {1.0, 2.0, 5.0, 10.0}) {
    if (step * power >= value) return step * power;
  }
  return 10 * power;
}

// Percent rounded down to one decimal, as the text report shows it.
double percent_down(std::uint64_t a, std::uint64_t b) {
  return b == 0 ? 0.0 : double(a * 1000 / b) / 10;
}

struct series {
  const char* name;
  const char* colour;
  const char* dash;  // stroke-dasharray, empty for a solid line
  std::vector<double> values;
  bool percent;  // left axis, else right
};

}  // namespace

std::string eval_plot_svg(const eval_report& report) {
  const std::size_t n = report.rows.size();
  std::vector<series> lines;
  lines.push_back({"recall (held-out traces accepted)", "#1f77b4", "", {}, true});
  const bool negatives = n > 0 && report.rows.front().has_negatives;
  if (negatives)
    lines.push_back({"specificity (negatives rejected)", "#2ca02c", "6 4", {}, true});
  lines.push_back({"transitions (mean over folds)", "#d62728", "2 4", {}, false});
  for (const eval_row& row : report.rows) {
    lines[0].values.push_back(percent_down(row.accepted, row.held_out));
    if (negatives)
      lines[1].values.push_back(percent_down(row.negatives_rejected, row.negatives));
    lines.back().values.push_back(row.transitions);
  }

  // Left axis from a multiple of 10 below the lowest share to 100; right
  // axis from 0 to a round number above the most transitions.
  double lowest = 100;
  double most = 0;
  for (const series& s : lines) {
    for (const double v : s.values) {
      if (s.percent)
        lowest = std::min(lowest, v);
      else
        most = std::max(most, v);
    }
  }
  // Shared grid lines: the left axis in steps of 1, 2, 5, 10 or 20 percent
  // from a step below the lowest share to 100, the right axis from 0 in as
  // many round steps above the most transitions.
  double pct_step = 20;
  for (const double step : {1.0, 2.0, 5.0, 10.0}) {
    if ((100 - std::floor(lowest / step) * step) / step <= 6) {
      pct_step = step;
      break;
    }
  }
  const double pct_low =
      std::max(0.0, std::min(100 - pct_step, std::floor(lowest / pct_step) * pct_step));
  const int intervals = static_cast<int>(std::lround((100 - pct_low) / pct_step));
  const double count_step = nice_ceiling(most / intervals);
  const double count_high = count_step * intervals;
  const double pad = 30;  // keeps the first and last points off the axes
  const auto x_of = [&](std::size_t i) {
    return n <= 1 ? (kLeft + kRight) / 2
                  : kLeft + pad + (kRight - kLeft - 2 * pad) * double(i) / double(n - 1);
  };
  const auto y_of = [&](double v, bool percent) {
    const double low = percent ? pct_low : 0;
    const double high = percent ? 100 : count_high;
    return kBottom - (kBottom - kTop) * (v - low) / (high - low);
  };

  std::ostringstream svg;
  svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kWidth << "\" height=\""
      << kHeight << "\" viewBox=\"0 0 " << kWidth << ' ' << kHeight
      << "\" font-family=\"sans-serif\" font-size=\"12\">\n"
      << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n"
      << "<text x=\"" << kWidth / 2
      << "\" y=\"20\" text-anchor=\"middle\" font-size=\"14\">"
      << "Held-out traces accepted and model size against k (" << report.folds
      << " folds)</text>\n";

  // Axes, ticks and grid.
  svg << "<g stroke=\"#444\">\n"
      << "<line x1=\"" << kLeft << "\" y1=\"" << kBottom << "\" x2=\"" << kRight
      << "\" y2=\"" << kBottom << "\"/>\n"
      << "<line x1=\"" << kLeft << "\" y1=\"" << kTop << "\" x2=\"" << kLeft << "\" y2=\""
      << kBottom << "\"/>\n"
      << "<line x1=\"" << kRight << "\" y1=\"" << kTop << "\" x2=\"" << kRight
      << "\" y2=\"" << kBottom << "\"/>\n</g>\n";
  for (int t = 0; t <= intervals; ++t) {
    const double pct = pct_low + pct_step * t;
    const double count = count_step * t;
    const double y = y_of(pct, true);
    svg << "<line x1=\"" << kLeft << "\" y1=\"" << num(y) << "\" x2=\"" << kRight
        << "\" y2=\"" << num(y) << "\" stroke=\"#ddd\"/>\n"
        << "<text x=\"" << kLeft - 6 << "\" y=\"" << num(y + 4)
        << "\" text-anchor=\"end\">" << num(pct, 0) << "%</text>\n"
        << "<text x=\"" << kRight + 6 << "\" y=\"" << num(y + 4) << "\">"
        << num(count, count_step >= 1 ? 0 : 1) << "</text>\n";
  }
  for (std::size_t i = 0; i < n; ++i) {
    svg << "<text x=\"" << num(x_of(i)) << "\" y=\"" << kBottom + 18
        << "\" text-anchor=\"middle\">" << report.rows[i].k << "</text>\n";
  }
  svg << "<text x=\"" << (kLeft + kRight) / 2 << "\" y=\"" << kBottom + 40
      << "\" text-anchor=\"middle\">k</text>\n"
      << "<text transform=\"translate(18 " << (kTop + kBottom) / 2
      << ") rotate(-90)\" text-anchor=\"middle\">traces (%)</text>\n"
      << "<text transform=\"translate(" << kWidth - 18 << ' ' << (kTop + kBottom) / 2
      << ") rotate(90)\" text-anchor=\"middle\">transitions</text>\n";

  // The series with their values, and the legend above the chart.
  for (std::size_t s = 0; s < lines.size(); ++s) {
    const series& line = lines[s];
    svg << "<g stroke=\"" << line.colour << "\" fill=\"" << line.colour
        << "\">\n<polyline fill=\"none\" stroke-width=\"2\"";
    if (*line.dash) svg << " stroke-dasharray=\"" << line.dash << '"';
    svg << " points=\"";
    for (std::size_t i = 0; i < n; ++i) {
      svg << (i > 0 ? " " : "") << num(x_of(i)) << ','
          << num(y_of(line.values[i], line.percent));
    }
    svg << "\"/>\n";
    for (std::size_t i = 0; i < n; ++i) {
      const double y = y_of(line.values[i], line.percent);
      svg << "<circle cx=\"" << num(x_of(i)) << "\" cy=\"" << num(y) << "\" r=\"3.5\"/>"
          << "<text stroke=\"white\" stroke-width=\"3\" paint-order=\"stroke\" "
             "text-anchor=\"middle\" x=\""
          << num(x_of(i)) << "\" y=\"" << num(line.percent ? y - 8 : y + 17) << "\">"
          << (line.percent ? num(line.values[i]) + "%" : num(line.values[i], 1))
          << "</text>\n";
    }
    const double lx = kLeft + 10 + 200.0 * double(s);
    svg << "<line x1=\"" << lx << "\" y1=\"40\" x2=\"" << lx + 20
        << "\" y2=\"40\" stroke-width=\"2\"";
    if (*line.dash) svg << " stroke-dasharray=\"" << line.dash << '"';
    svg << "/><text stroke=\"none\" x=\"" << lx + 25 << "\" y=\"44\" font-size=\"11\">"
        << line.name << "</text>\n</g>\n";
  }
  svg << "</svg>\n";
  return svg.str();
}

}  // namespace logfsm
