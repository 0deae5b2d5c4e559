#!/usr/bin/env python3
"""Prints scripts/bench's one table from the raw results in a folder.

Each figure is the median over the repeated runs found there: Google Benchmark's JSON
files (their own "median" aggregates) and the key=value files of dorvath_xprobe and
dorvath_tick_rate, one file per run.
"""

import glob
import json
import os
import statistics
import sys


def bench_median(path, name):
    """Median real time in microseconds of one benchmark, and how many repetitions."""
    with open(path) as f:
        data = json.load(f)
    for b in data["benchmarks"]:
        if b["run_name"] == name and b.get("aggregate_name") == "median":
            scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}[b["time_unit"]]
            return b["real_time"] * scale, b.get("repetitions", 0), b
    return None, 0, None


def key_values(path):
    values = {}
    with open(path) as f:
        for line in f:
            for item in line.split():
                if "=" in item:
                    k, v = item.split("=", 1)
                    try:
                        values[k] = float(v)
                    except ValueError:
                        values[k] = v
    return values


def runs(folder, pattern):
    return [key_values(p) for p in sorted(glob.glob(os.path.join(folder, pattern)))]


def median_of(rows, key):
    vals = [r[key] for r in rows if isinstance(r.get(key), float)]
    return (statistics.median(vals), len(vals)) if vals else (None, 0)


class Table:
    def __init__(self):
        self.rows = []

    def add(self, what, value, unit, n, target="", ok=None, fmt="{:.2f}"):
        shown = "n/a" if value is None else fmt.format(value)
        verdict = "" if ok is None else ("met" if ok else "MISSED")
        if value is None and ok is not None:
            verdict = "not measured"
        self.rows.append((what, f"{shown} {unit}".strip(), str(n) if n else "", target,
                          verdict))

    def note(self, text):
        self.rows.append((text, None, None, None, None))

    def print(self, title):
        widths = [max(len(r[i]) for r in self.rows if r[1] is not None) for i in range(5)]
        heads = ("Figure", "Median", "Runs", "Target", "Verdict")
        widths = [max(w, len(h)) for w, h in zip(widths, heads)]
        line = "  ".join("-" * w for w in widths)
        print(title)
        print(line)
        print("  ".join(h.ljust(w) for h, w in zip(heads, widths)).rstrip())
        print(line)
        for r in self.rows:
            if r[1] is None:
                print(r[0])
            else:
                print("  ".join(c.ljust(w) for c, w in zip(r, widths)).rstrip())
        print(line)


def main():
    folder = sys.argv[1]
    machine = open(os.path.join(folder, "machine.txt")).read().strip()
    t = Table()

    frame = os.path.join(folder, "frame.json")

    def frame_median(name):
        return bench_median(frame, name) if os.path.exists(frame) else (None, 0, None)

    t.note("One frame (AdvanceOrbit, DrawScene, CommitDrawn), 300 x 300 logical, in process")
    speedups = []
    for scale, suffix, pixels in ((1, "", "300 x 300"), (2, "/scale2", "600 x 600")):
        ours, n_ours, _ = frame_median("Frame/ours" + suffix)
        qp, n_qp, qp_row = frame_median("Frame/QPainter" + suffix)
        t.note(f"  at scale {scale}, {pixels} device pixels")
        if scale == 1:
            t.add("    ours (BitmapCanvas)", ours, "us", n_ours, "<= 10 us",
                  ours is not None and ours <= 10.0)
            t.add("    QPainter on a QImage, same calls", qp, "us", n_qp)
        else:
            t.add("    ours (BitmapCanvas)", ours, "us", n_ours)
            t.add("    QPainter, device pixel ratio 2, cosmetic pen", qp, "us", n_qp)
        speedup = qp / ours if ours and qp else None
        speedups.append(speedup)
        t.add("    QPainter time / ours", speedup, "x", n_ours, ">= 3 x",
              speedup is not None and speedup >= 3.0)
        if qp_row is not None and "px_differing" in qp_row:
            t.add("    pixels where the two pictures differ", qp_row["px_differing"], "px", "",
                  fmt="{:.0f}")
    measured = [s for s in speedups if s is not None]
    slowest = min(measured) if len(measured) == len(speedups) else None
    t.add("  QPainter time / ours, the lower of the two", slowest, "x", "",
          "≥ 3× at scale 1 and at scale 2", slowest is not None and slowest >= 3.0)

    t.note("One tick handler with the repaint of the changed region, in process")
    for label, name in (("  offscreen platform", "tick_offscreen.json"),
                        ("  xcb platform on Xvfb", "tick_xcb.json")):
        path = os.path.join(folder, name)
        v, n, _ = (bench_median(path, "Tick/handler_with_repaint") if os.path.exists(path)
                   else (None, 0, None))
        t.add(label, v, "us", n)

    dorvath = runs(folder, "startup_dorvath_*.txt")
    minimal = runs(folder, "startup_minimal_*.txt")
    labelled = runs(folder, "startup_labelled_*.txt")
    t.note("Start-up under Xvfb: process start to the picture shown in the window")
    sd, nd = median_of(dorvath, "visible_ms")
    sm, nm = median_of(minimal, "visible_ms")
    t.add("  Dorvath, start picture visible", sd, "ms", nd)
    t.add("  minimal Qt window, first paint visible", sm, "ms", nm)
    sl, nl = median_of(labelled, "visible_ms")
    t.add("  minimal Qt window with one labelled button", sl, "ms", nl)
    ratio = sd / sm if sd and sm else None
    t.add("  Dorvath / minimal", ratio, "x", min(nd, nm), "<= 1.3 x",
          ratio is not None and ratio <= 1.3)
    ratio = sd / sl if sd and sl else None
    t.add("  Dorvath / minimal with a label", ratio, "x", min(nd, nl))
    t.note("Peak resident memory (VmHWM) shortly after start-up")
    md, nd = median_of(dorvath, "hwm_kb")
    mm, nm = median_of(minimal, "hwm_kb")
    t.add("  Dorvath", md / 1024 if md else None, "MiB", nd)
    t.add("  minimal Qt window", mm / 1024 if mm else None, "MiB", nm)
    ml, nl = median_of(labelled, "hwm_kb")
    t.add("  minimal Qt window with one labelled button", ml / 1024 if ml else None, "MiB", nl)
    ratio = md / mm if md and mm else None
    t.add("  Dorvath / minimal", ratio, "x", min(nd, nm), "<= 1.2 x",
          ratio is not None and ratio <= 1.2)
    ratio = md / ml if md and ml else None
    t.add("  Dorvath / minimal with a label", ratio, "x", min(nd, nl))

    sessions = runs(folder, "session_*.txt")
    t.note("The real program under Xvfb: 10 s stopped, then \">>\" and 20 s running")
    v, n = median_of(sessions, "session_hwm_kb")
    t.add("  peak resident memory over the whole session", v / 1024 if v else None, "MiB", n)
    v, n = median_of(sessions, "stopped_cpu_s")
    t.add("  CPU while stopped, 10 s", v, "s", n, "~ 0", v is not None and v < 0.005,
          fmt="{:.4f}")
    v, n = median_of(sessions, "stopped_wakeups")
    t.add("  wake-ups while stopped, 10 s (context switches)", v, "", n, "0",
          v is not None and v == 0, fmt="{:.0f}")
    v, n = median_of(sessions, "running_cpu_s")
    pct = [100 * r["running_cpu_s"] / r["running_s"] for r in sessions
           if "running_cpu_s" in r and "running_s" in r]
    t.add("  CPU while running, 10 s", v, "s", n, fmt="{:.4f}")
    p = statistics.median(pct) if pct else None
    t.add("  CPU while running, share of one core", p, "%", len(pct), "<= 1 %",
          p is not None and p <= 1.0, fmt="{:.2f}")
    v, n = median_of(sessions, "running_xvfb_cpu_s")
    t.add("  X server's CPU for it while running, 10 s", v, "s", n, fmt="{:.2f}")
    v, n = median_of(sessions, "running_wakeups")
    t.add("  wake-ups while running, 10 s", v, "", n, fmt="{:.0f}")
    rate, n = median_of(sessions, "ticks_per_s")
    t.add("  ticks/s from two pictures 20 s apart", rate, "/s", n, "10.0 +- 0.5 %",
          rate is not None and abs(rate - 10.0) <= 0.05, fmt="{:.3f}")
    h1, _ = median_of(sessions, "ticks_per_s_first_half")
    h2, _ = median_of(sessions, "ticks_per_s_second_half")
    t.add("  ticks/s, first 10 s / second 10 s", None if h1 is None else h1, "/s", n,
          fmt="{:.3f}")
    if h2 is not None:
        t.rows[-1] = (t.rows[-1][0], f"{h1:.3f} / {h2:.3f} /s", t.rows[-1][2], "", "")
    v, n = median_of(sessions, "angle_mismatched_px")
    t.add("  pixels of the window differing from our own rendering", v, "px", n, "0",
          v is not None and v == 0, fmt="{:.0f}")

    rates = runs(folder, "rate_*.txt")
    t.note("Running for 30 s in process, offscreen platform, every tick timed")
    rate, n = median_of(rates, "ticks_per_s")
    t.add("  ticks/s (degrees of orbit / 30 s)", rate, "/s", n, "10.0 +- 0.5 %",
          rate is not None and abs(rate - 10.0) <= 0.05, fmt="{:.3f}")
    parts = [median_of(rates, f"ticks_per_s_part{i}")[0] for i in (1, 2, 3)]
    if all(p is not None for p in parts):
        t.add("  ticks/s in each third of the run", None, "", n)
        t.rows[-1] = (t.rows[-1][0], " / ".join(f"{p:.3f}" for p in parts) + " /s",
                      str(n), "equal: no drift", "")
    drift, n = median_of(rates, "drift_end_ms")
    t.add("  last tick against an exact 100 ms grid", drift, "ms", n, "no drift",
          drift is not None and abs(drift) < 5.0, fmt="{:+.2f}")
    v, n = median_of(rates, "max_offset_ms")
    t.add("  largest offset of any tick from the grid", v, "ms", n, fmt="{:.2f}")
    v, n = median_of(rates, "cpu_percent")
    t.add("  CPU, share of one core", v, "%", n, "<= 1 %", v is not None and v <= 1.0,
          fmt="{:.2f}")

    t.print(f"Dorvath benchmark report on {machine}")


if __name__ == "__main__":
    main()
