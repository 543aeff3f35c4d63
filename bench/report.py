#!/usr/bin/env python3
# SPDX-License-Identifier: Zlib
"""Turns the measurements scripts/bench gathered into bench/RESULTS.md."""
import json
import os
import statistics
import sys

work, out, cpu_model, cores, load_start, load_end, reps, minutes = sys.argv[1:9]

SCREENS = ["credits, full particle pool, turning sky", "Start Game, 40 packs", "play, vertical pack",
           "play, horizontal pack", "name entry"]
TO_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def load(name):
    """{run name: {aggregate: (real ms, cpu ms)}} of one Google Benchmark JSON file."""
    path = os.path.join(work, name + ".json")
    if not os.path.exists(path):
        return {}
    runs = {}
    for b in json.load(open(path))["benchmarks"]:
        if b.get("run_type") != "aggregate" or b.get("error_occurred"):
            continue
        scale = TO_MS[b.get("time_unit", "ns")]
        # The run name without the timing options, which Google Benchmark appends to it.
        run = b["run_name"].replace("/process_time", "").replace("/real_time", "")
        runs.setdefault(run, {})[b["aggregate_name"]] = (b["real_time"] * scale, b["cpu_time"] * scale)
    return runs


def median(runs, name, cpu=False):
    r = runs.get(name, {}).get("median")
    return None if r is None else r[1 if cpu else 0]


def spread(runs, name):
    r = runs.get(name, {})
    if "stddev" not in r or "median" not in r or not r["median"][0]:
        return ""
    return "±%.0f %%" % (100 * r["stddev"][0] / r["median"][0])


def ms(v):
    return "–" if v is None else ("%.2f ms" % v if v < 10 else "%.1f ms" % v)


def verdict(ok):
    return "–" if ok is None else ("met" if ok else "**missed**")


lines = ["# Benchmark results", "",
         "Written by `scripts/bench` (see README, Benchmarks). Times are medians of %s repetitions, the spread is "
         "one standard deviation of those repetitions; wall-clock time unless marked CPU." % reps, "",
         "| Machine | |", "|---|---|",
         "| CPU | %s |" % cpu_model, "| Cores | %s |" % cores,
         "| Load average (1, 5, 15 min) at the start | %s |" % load_start,
         "| Load average at the end | %s |" % load_end,
         "| Run time | about %s min |" % minutes, "",
         "Other developers build and test on the same machine: a load average near the core count means the "
         "figures below are inflated by the sharing.", ""]

# Frames of each screen against their floor.
busiest_software = None
frame_cpu = {}
for renderer in ["opengl", "software"]:
    runs = load("screens_" + renderer)
    lines += ["## One frame of each screen, %s renderer (Xvfb, frame limit lifted)" % renderer, "",
              "| Screen | Game frame | CPU, every thread | Plain SDL floor | Game ÷ floor | Target ≤ 1.3× |",
              "|---|---|---|---|---|---|"]
    for i, title in enumerate(SCREENS):
        frame, floor = median(runs, "BM_Frame/%d" % i), median(runs, "BM_Floor/%d" % i)
        cpu = median(runs, "BM_Frame/%d" % i, cpu=True)
        frame_cpu[(renderer, i)] = cpu
        ratio = frame / floor if frame and floor else None
        lines.append("| %s | %s %s | %s | %s %s | %s | %s |" % (
            title, ms(frame), spread(runs, "BM_Frame/%d" % i), ms(cpu), ms(floor), spread(runs, "BM_Floor/%d" % i),
            "–" if ratio is None else "%.2f×" % ratio, verdict(None if ratio is None else ratio <= 1.3)))
        if renderer == "software" and frame is not None:
            busiest_software = max(busiest_software or 0, frame)
    lines.append("")
lines += ["Busiest screen with the software renderer: %s (target under 18 ms, 50 frames a second): %s." % (
    ms(busiest_software), verdict(None if busiest_software is None else busiest_software < 18)), ""]

# Engine::Draw against direct SDL calls.
lines += ["## 2,000 sprites: Engine::Draw against direct SDL calls (same run, same device)", "",
          "| Renderer | Sprite size | Engine::Draw | Direct SDL (geometry) | Direct SDL (copy) | Engine ÷ best direct "
          "| Target ≤ 1.3× |", "|---|---|---|---|---|---|---|"]
for renderer in ["opengl", "software"]:
    runs = load("draw_" + renderer)
    for size in [32, 2]:
        engine = median(runs, "DrawFixture/EngineDraw/%d" % size)
        direct = [median(runs, "DrawFixture/DirectSdlGeometry/%d" % size),
                  median(runs, "DrawFixture/DirectSdlCopyEx/%d" % size)]
        best = min([d for d in direct if d] or [0]) or None
        ratio = engine / best if engine and best else None
        lines.append("| %s | %d px | %s | %s | %s | %s | %s |" % (
            renderer, size, ms(engine), ms(direct[0]), ms(direct[1]), "–" if ratio is None else "%.2f×" % ratio,
            verdict(None if ratio is None else ratio <= 1.3)))
lines.append("")

# Start-up.
startup = {}
path = os.path.join(work, "startup.txt")
if os.path.exists(path):
    for line in open(path):
        renderer, us = line.split()
        startup.setdefault(renderer, []).append(int(us) / 1000)
lines += ["## Start-up: exec of the program to its first presented frame", "",
          "| Renderer | Median | Fastest – slowest | Runs | Target ≤ 200 ms |", "|---|---|---|---|---|"]
for renderer, values in sorted(startup.items()):
    m = statistics.median(values)
    lines.append("| %s | %s | %s – %s | %d | %s |" % (renderer, ms(m), ms(min(values)), ms(max(values)), len(values),
                                                 verdict(m <= 200)))
lines.append("")

# Pack scanning.
runs = load("scan")
lines += ["## ScanPacks (warm page cache)", "", "| Packs | Median | Spread | Target |", "|---|---|---|---|"]
for name, title, target in [("BM_ScanPacks_BuiltGame", "the built game's 4 packs", None),
                            ("BM_ScanPacks/10", "10 small packs of 10 levels", None),
                            ("BM_ScanPacks/100", "100 small packs of 10 levels", None),
                            ("BM_ScanPacks_100x50Levels", "100 packs of 50 levels, about 10 MB each", 500)]:
    m = median(runs, name)
    lines.append("| %s | %s | %s | %s |" % (title, ms(m), spread(runs, name),
                                           "–" if target is None else "< %d ms: %s" % (
                                               target, verdict(None if m is None else m < target))))
lines.append("")

# The running program.
running = []
path = os.path.join(work, "running.txt")
if os.path.exists(path):
    running = [line.split() for line in open(path) if line.strip()]
lines += ["## The running game at 50 frames a second (measured from outside, every thread)", "",
          "CPU is the share of one core over 8 s. Its target is the screen's frame cost (CPU of every thread) × 50 "
          "plus 5 % of one "
          "core; the menu is compared with the credits screen's frame (which has a full particle pool, so its "
          "target is generous), the play screen with the vertical pack's frame. In brackets: the game's own "
          "(main) thread, which draws, runs the game and waits between frames; the rest is other threads' "
          "(the GL driver's rasterizer, sound).", "",
          "| Renderer | Menu CPU | Target | Play CPU | Target | VmRSS playing | VmHWM | Target < 120 MB |",
          "|---|---|---|---|---|---|---|---|"]
for renderer, menu, menu_main, play, play_main, rss, hwm in running:
    menu_target = frame_cpu.get((renderer, 0))
    play_target = frame_cpu.get((renderer, 2))
    menu_target = None if menu_target is None else menu_target * 50 / 10 + 5
    play_target = None if play_target is None else play_target * 50 / 10 + 5
    lines.append("| %s | %s %% (%s %%) | ≤ %s: %s | %s %% (%s %%) | ≤ %s: %s | %.1f MB | %.1f MB | %s |" % (
        renderer, menu, menu_main, "–" if menu_target is None else "%.1f %%" % menu_target,
        verdict(None if menu_target is None else float(menu) <= menu_target), play, play_main,
        "–" if play_target is None else "%.1f %%" % play_target,
        verdict(None if play_target is None else float(play) <= play_target), int(rss) / 1024, int(hwm) / 1024,
        verdict(int(hwm) / 1024 < 120)))
lines.append("")

# The drawing paths without a GPU, side by side in one run.
comp = load("screens_compositor")
if comp:
    soft, gl = load("screens_software"), load("screens_opengl")
    lines += ["## One frame of each screen on each path without a GPU (Xvfb, frame limit lifted)", "",
              "CPU of every thread for one frame: the CPU compositor, SDL's software renderer and OpenGL on the "
              "software GL driver (llvmpipe, whose rasterizer threads count).", "",
              "| Screen | Compositor | Software renderer | OpenGL (llvmpipe) |", "|---|---|---|---|"]
    for i, title in enumerate(SCREENS):
        name = "BM_Frame/%d" % i
        lines.append("| %s | %s | %s | %s |" % (title, ms(median(comp, name, cpu=True)),
                                               ms(median(soft, name, cpu=True)), ms(median(gl, name, cpu=True))))
    lines.append("")
path = os.path.join(work, "paths.txt")
if os.path.exists(path):
    rows = {}
    for line in open(path):
        p = line.split()
        if len(p) == 7:
            rows[(p[0], p[1], p[2])] = p[3:]
    lines += ["## The running game at 50 frames a second on each path without a GPU", "",
              "Measured by `bench/cpu_paths.sh` in one run under a 1920 × 1080 Xvfb: the process's own CPU time "
              "(every thread, from /proc) over 8 s of each screen, as a share of one core and as CPU milliseconds "
              "a frame; resident memory (VmRSS) on that screen. Windowed is the 800 × 600 window, full screen the "
              "frame scaled to 1440 × 1080 between bars; the list holds 40 packs. Targets: 15 % of a core "
              "windowed, 25 % in full screen, 100 MB.", "",
              "| Mode | Screen | Compositor | Software renderer | OpenGL (llvmpipe) |", "|---|---|---|---|---|"]
    for mode in ["windowed", "full"]:
        for screen in ["credits", "start-game", "play-vertical", "play-horizontal", "name-entry"]:
            cells = []
            for path_name in ["compositor", "software", "opengl"]:
                r = rows.get((path_name, mode, screen))
                if r is None:
                    cells.append("–")
                    continue
                target = 15 if mode == "windowed" else 25
                cells.append("%s %% (%s ms), %.0f MB%s" % (
                    r[0], r[1], int(r[2]) / 1024,
                    "" if path_name != "compositor" else ": %s" % verdict(float(r[0]) <= target and
                                                                        int(r[2]) / 1024 <= 100)))
            lines.append("| %s | %s | %s |" % ("windowed 800 × 600" if mode == "windowed" else "full screen 1920 × 1080",
                                              screen, " | ".join(cells)))
    lines.append("")

# The engine's archive, the pack check and the high-score insert, for reference.
for name, title in [("archive", "Archive files"), ("pack_check", "The pack check"),
                    ("highscore", "A new best score in a full table (100 ranks of 16 values; target 10 ms)"),
                    ("pack_photos", "A level from a photo: decoded, fitted, five differences made, the pair encoded (target 2 s)")]:
    runs = load(name)
    if not runs:
        continue
    lines += ["## %s" % title, "", "| Case | Median | Spread |", "|---|---|---|"]
    for run in runs:
        lines.append("| %s | %s | %s |" % (run, ms(median(runs, run)), spread(runs, run)))
    lines.append("")

# Notes written by hand under "## Notes" stay from one run to the next.
if os.path.exists(out):
    previous = open(out).read()
    at = previous.find("\n## Notes")
    if at >= 0:
        lines.append(previous[at + 1:].rstrip("\n"))
        lines.append("")

with open(out, "w") as f:
    f.write("\n".join(lines))
