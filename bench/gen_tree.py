#!/usr/bin/env python3
"""Two copies of a seeded source tree for the folder compare benchmark.

  gen_tree.py FILES OUTDIR [--seed 1]
      OUTDIR/old  FILES source-like files in nested folders (a few KB each,
                  some larger), the same bytes for the same FILES and seed
      OUTDIR/new  old with 1 % of its files changed (a few lines edited, one
                  inserted), five removed and five added
"""
import argparse
import os
import random
import shutil

p = argparse.ArgumentParser()
p.add_argument("files", type=int)
p.add_argument("outdir")
p.add_argument("--seed", type=int, default=1)
a = p.parse_args()
rng = random.Random(a.seed)

words = ["".join(rng.choice("abcdefghijklmnopqrstuvwxyz_") for _ in range(rng.randint(2, 10))) for _ in range(2000)]
lines = []
for _ in range(20000):
    k = rng.random()
    indent = " " * (2 * rng.randint(0, 4))
    text = " ".join(rng.choice(words) for _ in range(rng.randint(1, 9)))
    lines.append("" if k < 0.1 else indent + text + (";" if k < 0.7 else ""))

old = os.path.join(a.outdir, "old")
new = os.path.join(a.outdir, "new")
shutil.rmtree(a.outdir, ignore_errors=True)
folders = [""]
for i in range(max(1, a.files // 15)):
    folders.append(os.path.join(rng.choice(folders), f"d{i:03d}"))
paths = []
for i in range(a.files):
    path = os.path.join(rng.choice(folders), f"f{i:05d}.c")
    os.makedirs(os.path.join(old, os.path.dirname(path)), exist_ok=True)
    count = min(4000, int(rng.lognormvariate(4.5, 0.9)) + 1)
    start = rng.randrange(len(lines) - count) if count < len(lines) else 0
    with open(os.path.join(old, path), "w") as f:
        f.write("\n".join(lines[start:start + count]) + "\n")
    paths.append(path)

shutil.copytree(old, new)
for path in rng.sample(paths, max(1, a.files // 100)):
    full = os.path.join(new, path)
    text = open(full).read().split("\n")
    for _ in range(3):
        k = rng.randrange(len(text))
        text[k] += " changed"
    text.insert(rng.randrange(len(text)), "inserted line")
    open(full, "w").write("\n".join(text))
for path in rng.sample(paths, 5):
    os.remove(os.path.join(new, path))
for i in range(5):
    open(os.path.join(new, f"added{i}.c"), "w").write("\n".join(lines[i * 50:i * 50 + 50]) + "\n")
