#!/usr/bin/env python3
"""Turns the JSON output of quarnbase_bench into a Markdown table of ratios.

Benchmarks come in pairs named BM_<Group>/<case>/quarn and BM_<Group>/<case>/peer.
For each pair the table shows both times and the ratio quarnbase time / peer
time (below 1 means quarnbase is faster), with the goal that applies to the
group and whether the run meets it. Benchmarks without a peer follow in a
second table, with a limit on their time where one applies.

Times are CPU times: every benchmark runs on one thread, and CPU time is less
disturbed than wall time when other work shares the machine.

When the run was repeated (--benchmark_repetitions), the median is used; a
name measured in several files keeps its fastest time. A ratio within
TOLERANCE of its goal counts as met, since timings on a shared machine vary by
a few per cent from run to run.

Usage: bench-table.py bench.json [more.json ...]
"""

import json
import re
import sys

# Cases that are not like for like, with the reason shown in the goal column:
# std::string keeps texts of up to 15 bytes inside the object and allocates
# nothing, while every non-empty StringC owns an exact heap buffer.
# std::string::rfind reads back from the end only, while ReverseFind (as
# strrchr) also reads the bytes before its hit, since a zero byte ends the text.
NOT_LIKE_FOR_LIKE = [
    (r"^String(Construct|Copy|Mid|Left)$", r"^8B", "n/a: peer stores 8 B inline"),
    (r"^StringReverseFind$", r"^(?!.*strrchr$)", "n/a: peer reads back from the end only"),
]

# Goals as the largest acceptable ratio quarn/peer, by group and case; the
# first match applies. A row with no match is reported without a goal. Find
# of a character or text in a long text scans for two byte values (it and the
# zero byte) where std::string::find scans for one; against the C library,
# which does the same work, the goal is 1.
GOALS = [
    (r"^StringCompare$", r"", 1.10),
    (r"^String(FindChar|FindText|ReverseFind)$", r"-str[a-z]+$", 1.0),
    (r"^String(FindChar|FindText)$", r"KiB$", 1.25),
    (r"^String(Construct|Copy)$", r"", 1.05),
    (r"^String(Assign|Append|Equal|FindChar|FindText|ReverseFind|Mid|Left)$", r"", 1.0),
    (r"^ListChurn$", r"", 0.5),
    (r"^ArraySetSize$", r"", 1.0),
    (r"^Parse$", r"", 1.5),
    (r"^Sort", r"", 1.0),
    (r"^MetaMatch$", r"", 1.0),
]

# Goals of benchmarks without a peer, as the largest acceptable time in ns.
ABSOLUTE_GOALS = [
    (r"^BM_MetaCompare/", 10e3),
]

TOLERANCE = 0.05

UNIT_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}


def exemption_for(group, case):
    for group_pattern, case_pattern, reason in NOT_LIKE_FOR_LIKE:
        if re.search(group_pattern, group) and re.search(case_pattern, case):
            return reason
    return None


def goal_for(group, case):
    for group_pattern, case_pattern, limit in GOALS:
        if re.search(group_pattern, group) and re.search(case_pattern, case):
            return limit
    return None


def absolute_goal_for(name):
    for pattern, limit in ABSOLUTE_GOALS:
        if re.search(pattern, name):
            return limit
    return None


def load_times(paths):
    """Returns {benchmark name: time in ns}, preferring medians of repetitions."""
    plain = {}
    medians = {}
    for path in paths:
        with open(path, encoding="utf-8") as f:
            data = json.load(f)
        for b in data.get("benchmarks", []):
            if b.get("error_occurred"):
                continue
            ns = float(b["cpu_time"]) * UNIT_NS.get(b.get("time_unit", "ns"), 1.0)
            name = b.get("run_name", b["name"])
            kind = b.get("run_type", "iteration")
            if kind == "aggregate":
                if b.get("aggregate_name") == "median":
                    medians[name] = ns
            else:
                # Several plain runs of the same name: keep the fastest, which
                # is the least disturbed by other load on the machine.
                plain[name] = min(ns, plain.get(name, ns))
    plain.update(medians)
    return plain, data.get("context", {})


def format_time(ns):
    if ns >= 1e6:
        return f"{ns / 1e6:.2f} ms"
    if ns >= 1e3:
        return f"{ns / 1e3:.2f} µs"
    return f"{ns:.1f} ns"


def main(argv):
    if len(argv) < 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    times, context = load_times(argv[1:])
    pairs = {}
    order = []
    for name, ns in times.items():
        # Options set on a registration (iterations:3, min_time:...) follow the side.
        m = re.match(r"^BM_([^/]+)/(.+)/(quarn|peer)((/[a-z_]+:[^/]+)*)$", name)
        if not m:
            continue
        key = (m.group(1), m.group(2))
        if key not in pairs:
            pairs[key] = {}
            order.append(key)
        pairs[key][m.group(3)] = ns

    rows = []
    met = total = 0

    def judge(value, limit, shown):
        """Counts a row with a goal; returns its goal and result columns."""
        nonlocal met, total
        if limit is None:
            return "–", "–"
        total += 1
        ok = value <= limit * (1 + TOLERANCE)
        met += ok
        return shown, ("met" if ok else "not met")

    for group, case in order:
        pair = pairs[(group, case)]
        if "quarn" not in pair or "peer" not in pair:
            continue
        ratio = pair["quarn"] / pair["peer"]
        limit = goal_for(group, case)
        exemption = exemption_for(group, case)
        if exemption is not None:
            goal, verdict = exemption, "–"
        else:
            goal, verdict = judge(ratio, limit, f"≤ {limit:.2f}" if limit else "")
        rows.append((group, case, format_time(pair["quarn"]), format_time(pair["peer"]),
                     f"{ratio:.2f}", goal, verdict))

    unpaired = [(name, ns) for name, ns in times.items()
                if name.startswith("BM_") and not re.search(r"/(quarn|peer)(/|$)", name)]

    if not rows:
        print("no benchmark pairs found", file=sys.stderr)
        return 1
    print("| group | case | quarnbase | peer | ratio | goal | result |")
    print("|---|---|--:|--:|--:|--:|---|")
    for row in rows:
        print("| " + " | ".join(row) + " |")
    print()
    if unpaired:
        print("| benchmark without a peer | quarnbase | goal | result |")
        print("|---|--:|--:|---|")
        for name, ns in unpaired:
            limit = absolute_goal_for(name)
            goal, verdict = judge(ns, limit, f"< {format_time(limit)}" if limit else "")
            print(f"| {name[3:]} | {format_time(ns)} | {goal} | {verdict} |")
        print()
    print(f"{met} of {total} rows with a goal meet it. Ratio = quarnbase time / peer time; "
          f"below 1 is faster than the peer. A goal counts as met within {TOLERANCE:.0%} "
          "(run-to-run noise).")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
