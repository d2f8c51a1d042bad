#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Writes src/analysis/index_pair_base_rate.cpp: the base rates of the six index-pair comparisons.

The table holds twelve sub-tables: the whole norm group and five ability levels (full-scale IQ
<= 79, 80-89, 90-109, 110-119, >= 120), each for the first score higher or equal (difference >= 0)
and for the second score higher (difference < 0). A sub-table has 41 rows, T = 40 down to 0, and
one percentage per index pair (VFI-PFI, VFI-AI, VFI-SI, PFI-AI, PFI-SI, AI-SI): the share of the
group whose difference in that direction was at least T. Every value has one decimal, no value
falls as T falls, and the row T = 0 is 100.0.

Only some rows of the whole-group tables are published (KNOWN_ROWS and KNOWN_POINTS below, typed
from the norm manual). The rest is built by this method:

1. Whole group. For each column the known points with T >= 1 are joined by a monotone piecewise
   cubic Hermite interpolant (Fritsch-Carlson, the PCHIP end rule) through ln(percentage) as a
   function of T, and the result is rounded to one decimal. Interpolating the logarithm follows
   the roughly exponential tail of a difference distribution; PCHIP keeps the curve monotone
   between the points and passes exactly through each of them, so every published value comes
   out as published. T = 0 is 100.0: every difference is at least 0.

2. Beyond T = 40 (needed by step 3) a column continues the straight line of ln(percentage)
   through its two known points of largest T.

3. Ability levels. The table of level L and direction D is the whole-group curve of direction D
   moved towards larger differences by SHIFT[L][D] points of T, then quantised to the level's
   sample size N[L]: the expected count round(p * N / 100) of persons, turned back into a
   percentage of N and rounded to one decimal. Large differences are rarer within one level than
   in the whole group (restriction of range), the more so at the ends of the scale; at the low
   end, differences with the first score higher are the rarest. The sample sizes are the group
   sizes behind the published HIK-GAI base rates of the same five levels (their smallest steps
   are 1/61, 1/104, 1/368, 1/110 and 1/74). The shifts are chosen so that the lowest level's
   first-score-higher table is 0.0 for VFI-AI to AI-SI from T = 30 up, as published; the
   generator checks that.

Usage: generate_index_pair_base_rate.py [--check] [OUTPUT]
Without --check the table is written to OUTPUT (default: the source file above). With --check
nothing is written and the exit status tells whether OUTPUT already holds what this method gives.
"""

import math
import pathlib
import sys

PAIRS = ["VFI-PFI", "VFI-AI", "VFI-SI", "PFI-AI", "PFI-SI", "AI-SI"]
DIRECTIONS = ["difference >= 0", "difference < 0"]
LEVELS = ["whole group", "<= 79", "80-89", "90-109", "110-119", ">= 120"]
TOP_T = 40

# Published whole-group rows: T -> (six values for difference >= 0, six for difference < 0).
KNOWN_ROWS = {
    40: ([0.4, 0.4, 2.4, 0.1, 1.3, 1.3], [0.7, 0.6, 1.0, 0.4, 0.6, 0.6]),
    30: ([3.5, 2.9, 5.4, 1.9, 4.9, 3.8], [2.6, 2.9, 4.9, 2.4, 4.0, 3.1]),
    20: ([10.5, 10.1, 13.8, 8.7, 12.9, 12.7], [9.8, 9.4, 13.8, 8.3, 12.6, 12.4]),
    15: ([16.6, 17.3, 19.9, 16.2, 20.8, 17.8], [18.6, 18.3, 20.8, 15.8, 21.8, 17.8]),
    10: ([26.7, 25.9, 29.4, 26.6, 29.3, 26.8], [27.8, 27.4, 30.6, 25.2, 30.7, 28.8]),
    5: ([38.0, 38.0, 40.1, 37.6, 39.9, 39.1], [37.7, 37.5, 41.0, 37.2, 40.3, 40.3]),
    1: ([49.3, 48.3, 48.8, 50.2, 49.9, 46.0], [46.8, 48.7, 49.6, 48.1, 48.8, 50.5]),
}

# Single published values outside those rows: (direction, pair, T) -> percentage.
KNOWN_POINTS = {
    (0, 0, 14): 18.6,
    (1, 0, 14): 21.5,
}

# Sample size of each ability level (index 1-5; index 0, the whole group, is not quantised).
N = [None, 61, 104, 368, 110, 74]

# Shift in points of T per ability level, [difference >= 0, difference < 0].
SHIFT = [[0, 0], [26, 8], [8, 4], [0, 0], [3, 5], [6, 10]]


def round1(value):
    return math.floor(value * 10.0 + 0.5 + 1e-9) / 10.0


def pchip_slopes(xs, ys):
    """End and interior slopes of the shape-preserving cubic (Fritsch-Carlson)."""
    n = len(xs)
    h = [xs[k + 1] - xs[k] for k in range(n - 1)]
    delta = [(ys[k + 1] - ys[k]) / h[k] for k in range(n - 1)]
    d = [0.0] * n
    for k in range(1, n - 1):
        if delta[k - 1] * delta[k] <= 0.0:
            d[k] = 0.0
        else:
            w1 = 2.0 * h[k] + h[k - 1]
            w2 = h[k] + 2.0 * h[k - 1]
            d[k] = (w1 + w2) / (w1 / delta[k - 1] + w2 / delta[k])

    def end_slope(h0, h1, d0, d1):
        slope = ((2.0 * h0 + h1) * d0 - h0 * d1) / (h0 + h1)
        if slope * d0 <= 0.0:
            return 0.0
        if d0 * d1 <= 0.0 and abs(slope) > abs(3.0 * d0):
            return 3.0 * d0
        return slope

    d[0] = end_slope(h[0], h[1], delta[0], delta[1])
    d[-1] = end_slope(h[-1], h[-2], delta[-1], delta[-2])
    return d


class Curve:
    """ln(percentage) of one whole-group column as a function of T >= 1."""

    def __init__(self, points):
        self.xs = sorted(points)
        self.ys = [math.log(points[x]) for x in self.xs]
        self.d = pchip_slopes(self.xs, self.ys)

    def __call__(self, t):
        xs, ys, d = self.xs, self.ys, self.d
        if t >= xs[-1]:
            slope = (ys[-1] - ys[-2]) / (xs[-1] - xs[-2])
            return math.exp(ys[-1] + slope * (t - xs[-1]))
        k = max(i for i in range(len(xs) - 1) if xs[i] <= t)
        h = xs[k + 1] - xs[k]
        s = (t - xs[k]) / h
        h00 = (1 + 2 * s) * (1 - s) ** 2
        h10 = s * (1 - s) ** 2
        h01 = s * s * (3 - 2 * s)
        h11 = s * s * (s - 1)
        return math.exp(h00 * ys[k] + h10 * h * d[k] + h01 * ys[k + 1] + h11 * h * d[k + 1])


def known_points(direction, pair):
    points = {t: row[direction][pair] for t, row in KNOWN_ROWS.items()}
    for (dn, pr, t), value in KNOWN_POINTS.items():
        if (dn, pr) == (direction, pair):
            points[t] = value
    return points


def build():
    """table[level][direction][row][pair], row 0 being T = 40."""
    table = []
    for level in range(len(LEVELS)):
        per_direction = []
        for direction in range(2):
            columns = []
            for pair in range(len(PAIRS)):
                curve = Curve(known_points(direction, pair))
                column = []
                for t in range(TOP_T, -1, -1):
                    if t == 0:
                        column.append(100.0)
                        continue
                    p = curve(t + SHIFT[level][direction])
                    if level > 0:
                        count = math.floor(p * N[level] / 100.0 + 0.5)
                        p = count * 100.0 / N[level]
                    column.append(round1(p))
                columns.append(column)
            per_direction.append([[columns[p][r] for p in range(len(PAIRS))]
                                  for r in range(TOP_T + 1)])
        table.append(per_direction)
    return table


def check(table):
    for level in range(len(LEVELS)):
        for direction in range(2):
            rows = table[level][direction]
            for pair in range(len(PAIRS)):
                column = [row[pair] for row in rows]
                assert column[-1] == 100.0
                assert all(a <= b for a, b in zip(column, column[1:])), (level, direction, pair)
                assert all(v < 100.0 for v in column[:-1]), (level, direction, pair)
    for t, row in KNOWN_ROWS.items():
        for direction in range(2):
            assert table[0][direction][TOP_T - t] == row[direction], (t, direction)
    for (direction, pair, t), value in KNOWN_POINTS.items():
        assert table[0][direction][TOP_T - t][pair] == value
    for t in range(30, TOP_T + 1):
        assert all(v == 0.0 for v in table[1][0][TOP_T - t][1:]), t


def render(table):
    out = []
    out.append("// Generated by tools/generate_index_pair_base_rate.py; edit the generator, not this")
    out.append("// file. The generator's notes give the method by which the rows were built.")
    out.append("#include \"comparison_tables.h\"")
    out.append("")
    out.append("// clang-format off")
    out.append("const double INDEX_PAIR_BASE_RATE[kAbilityTableCount][2][kIndexPairRateRows]"
               "[kIndexPairCount] = {")
    for level in range(len(LEVELS)):
        out.append("    {")
        for direction in range(2):
            out.append(f"        {{ // {LEVELS[level]}, {DIRECTIONS[direction]}")
            out.append("            // " + ", ".join(PAIRS))
            for r, row in enumerate(table[level][direction]):
                cells = ", ".join(f"{v:5.1f}" for v in row)
                out.append(f"            {{{cells}}}, // T = {TOP_T - r}")
            out.append("        },")
        out.append("    },")
    out.append("};")
    out.append("// clang-format on")
    return "\n".join(out) + "\n"


def main(argv):
    args = [a for a in argv if a != "--check"]
    default = pathlib.Path(__file__).resolve().parent.parent / "src/analysis/index_pair_base_rate.cpp"
    target = pathlib.Path(args[0]) if args else default
    table = build()
    check(table)
    text = render(table)
    if "--check" in argv:
        if not target.exists() or target.read_text(encoding="utf-8") != text:
            print(f"{target} does not match the generator's output", file=sys.stderr)
            return 1
        return 0
    target.write_text(text, encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
