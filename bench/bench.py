#!/usr/bin/env python3
"""Times Vantrim against what users type instead, on synthetic trees, side by side.

Shapes (fixed; every tree is made once, then copied with cp -a so that both sides of a pair get
identical trees):
  many  200 top folders x 100 subfolders (20,000 folders that do not match); every tenth subfolder
        holds an obj folder with 50 files: 2,000 obj folders, 100,000 files.
        Against: find ROOT -type d -iname obj -prune -exec rm -rf {} +
  big   one obj holding 40 x 50 folders (2,000), each with 100 files: 200,000 files.
        Against: rm -rf ROOT/obj
  none  200 x 100 folders (20,000), each with 5 files (100,000), none named obj. Neither side
        reads or removes these files, so they are empty, which keeps making and clearing the
        trees quick. Against: find ROOT -type d -iname obj -prune
  none10  the none shape ten times larger (2,000 x 100 folders, 1,000,000 files), one run each,
        for Vantrim's peak memory on a larger tree.
The two commands of a pair run alternately, RUNS times each; the medians, their ratio and
Vantrim's peak resident memory are printed. The memory is read by GNU time (Debian's package
time) around Vantrim alone: a child forked from this script would count the script's own pages.
The files of the removed shapes hold 64 bytes each, so that each has a data block to free, as
build output does.
Usage: bench.py VANTRIM [RUNS] [WORKDIR] [--no-large]
"""
import os
import shutil
import statistics
import subprocess
import sys
import time

ARGS = [a for a in sys.argv[1:] if not a.startswith("--")]
VANTRIM = os.path.abspath(ARGS[0])
RUNS = int(ARGS[1]) if len(ARGS) > 1 else 5
WORK = os.path.abspath(ARGS[2] if len(ARGS) > 2 else "bench-work")
GNU_TIME = "/usr/bin/time"


def files(folder, count, content=b"x" * 64):
    os.makedirs(folder, exist_ok=True)
    for i in range(count):
        with open(os.path.join(folder, "f%d.o" % i), "wb") as f:
            f.write(content)


def make_many(root):
    for a in range(200):
        for b in range(100):
            sub = os.path.join(root, "p%d" % a, "q%d" % b)
            os.makedirs(sub)
            if b % 10 == 0:
                files(os.path.join(sub, "obj"), 50)


def make_big(root):
    for a in range(40):
        for b in range(50):
            files(os.path.join(root, "obj", "d%d" % a, "e%d" % b), 100)


def make_none(root, scale=1):
    for a in range(200 * scale):
        for b in range(100):
            files(os.path.join(root, "p%d" % a, "q%d" % b), 5, b"")


def run(argv, memory):
    """Seconds of one command, and with memory its peak resident memory in KiB."""
    report = os.path.join(WORK, "rss")
    if memory:
        argv = [GNU_TIME, "-q", "-f", "%M", "-o", report] + argv
    start = time.perf_counter()
    proc = subprocess.run(argv, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    seconds = time.perf_counter() - start
    if proc.returncode != 0 or proc.stderr:
        sys.exit("%s: status %d, %s" % (" ".join(argv), proc.returncode, proc.stderr[:200]))
    if not memory:
        return seconds, 0
    with open(report) as f:
        return seconds, int(f.read().split()[-1])


def copy(template, name):
    target = os.path.join(WORK, name)
    subprocess.run(["cp", "-a", template, target], check=True)
    subprocess.run(["sync"], check=True)
    return target


def compare(shape, template, ours, theirs, destructive, runs=RUNS):
    mine, other, memory = [], [], []
    if not destructive:
        # Both sides read the same tree: the first run would pay for reading it from the disk.
        run(theirs(template), False)
    for i in range(runs):
        for side in ("ours", "theirs") if i % 2 == 0 else ("theirs", "ours"):
            root = copy(template, "run") if destructive else template
            seconds, rss = run(ours(root) if side == "ours" else theirs(root), side == "ours")
            (mine if side == "ours" else other).append(seconds)
            if side == "ours":
                memory.append(rss)
            if destructive:
                shutil.rmtree(root)
    m, o = statistics.median(mine), statistics.median(other)
    print("%-7s vantrim %7.3f s  other %7.3f s  ratio %.2f  peak RSS %.1f MiB" %
          (shape, m, o, m / o, max(memory) / 1024.0), flush=True)
    return m / o, max(memory)


def main():
    if not os.access(GNU_TIME, os.X_OK):
        sys.exit("bench.py needs GNU time: apt-get install time")
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(WORK)
    templates = {}
    for shape, make in (("many", make_many), ("big", make_big), ("none", make_none)):
        templates[shape] = os.path.join(WORK, "template-" + shape)
        make(templates[shape])
    vantrim = lambda root: [VANTRIM, root, "obj"]
    print("%d runs a side, medians; %s" % (RUNS, time.strftime("%Y-%m-%d")), flush=True)
    compare("many", templates["many"], vantrim,
            lambda root: ["find", root, "-type", "d", "-iname", "obj", "-prune", "-exec", "rm",
                          "-rf", "{}", "+"], True)
    compare("big", templates["big"], vantrim,
            lambda root: ["rm", "-rf", os.path.join(root, "obj")], True)
    _, small = compare("none", templates["none"], vantrim,
                       lambda root: ["find", root, "-type", "d", "-iname", "obj", "-prune"], False)
    if "--no-large" not in sys.argv:
        large = os.path.join(WORK, "template-none10")
        make_none(large, 10)
        _, big = compare("none10", large, vantrim,
                         lambda root: ["find", root, "-type", "d", "-iname", "obj", "-prune"],
                         False, runs=1)
        print("peak RSS, ten times larger tree: %+.2f MiB" % ((big - small) / 1024.0))
    shutil.rmtree(WORK, ignore_errors=True)


if __name__ == "__main__":
    main()
