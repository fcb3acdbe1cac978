#!/usr/bin/env python3
"""The user guide and the README say what the programs do: every quorlin-cli
command they show runs as written (in a scratch folder that holds the files
the commands name), and every sample listing, statistics section, batch log,
log message and JSON result in the guide is what the program writes for the
pair the guide describes.

usage: guide_check.py SOURCE-DIR BUILD-DIR
"""
import json
import os
import re
import shlex
import subprocess
import sys
import tempfile

source, build = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
cli = os.path.join(build, "quorlin-cli")
guide = open(os.path.join(source, "docs/user-guide.md"), encoding="utf-8").read()
readme = open(os.path.join(source, "README.md"), encoding="utf-8").read()
failures = []
work = tempfile.mkdtemp(prefix="quorlin-guide-")
TIME = re.compile(r"\d\d/\d\d/\d\d \d\d:\d\d:\d\d")


def write(name, lines):
    path = os.path.join(work, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write("".join(line + "\n" for line in lines))


def run(args, ok=(0, 1), shell=False):
    """Runs a command in the scratch folder; returns its standard output."""
    env = dict(os.environ, QUORLIN_HOME=work, PATH=build + os.pathsep + os.environ["PATH"])
    p = subprocess.run(args, cwd=work, env=env, shell=shell, capture_output=True, text=True, errors="replace")
    if p.returncode not in ok:
        failures.append(f"{args}: exit {p.returncode}: {p.stderr.strip()[:300]}")
    return p.stdout


def blocks(text):
    """The fenced code blocks of a markdown text, each as a list of lines."""
    return [b.split("\n") for b in re.findall(r"```[a-z]*\n(.*?)\n```", text, re.S)]


def block_with(marker):
    found = [b for b in blocks(guide) if any(marker in line for line in b)]
    if not found:
        failures.append(f"guide: no sample holds [{marker}]")
    return found[0] if found else []


def matches(sample, actual):
    """A sample line against a listing line: times masked, trailing blanks
    dropped; ' ... ' stands for the elided middle of the text column, and a
    line indented by the elided column (a Delta separator) is indented less."""
    sample, actual = TIME.sub("<time>", sample).rstrip(), TIME.sub("<time>", actual).rstrip()
    if " ... " in sample:
        head, tail = sample.split(" ... ", 1)
        return actual.startswith(head) and actual.endswith(tail.strip()) and len(actual) > len(head)
    if sample.startswith(" " * 8):
        return sample.strip() == actual.strip()
    return sample == actual


def check_sample(name, sample, listing):
    """Every line of the sample is in the listing, in order; a line that is
    only '...' stands for lines left out."""
    lines = listing.replace("\r", "").split("\n")
    at = 0
    for line in sample:
        if line.strip() == "...":
            continue
        while at < len(lines) and not matches(line, lines[at]):
            at += 1
        if at == len(lines):
            failures.append(f"{name}: the program does not write [{line}]")
            return
        at += 1


# The pair of the listing samples: fifteen Greek letters against fourteen;
# line 3 gained leading blanks, "delta" became "DELTA", "omicron" was added.
greek = "alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu nu xi omicron".split()
old = greek[:13] + ["xi"]
new = greek[:2] + ["  gamma", "DELTA"] + greek[4:13] + ["omicron", "xi"]
write("new.txt", new)
write("old.txt", old)
check_sample("Long sample", block_with("RN-   gamma"), run([cli, "-t", "Long", "new.txt", "old.txt"]))
check_sample("Delta sample", block_with("Mat/Ins/Del/Rfm="), run([cli, "-t", "Delta", "new.txt", "old.txt"]))
check_sample("statistics sample", block_with("Batch Compare Totals And Statistics Section"),
             run([cli, "new.txt", "old.txt"]))
write("new30.txt", [f"line {i:02d}" + (" changed" if i == 3 else "") for i in range(1, 31)][:27] +
      ["line 27a"] + [f"line {i:02d}" for i in range(28, 31)])
write("old30.txt", [f"line {i:02d}" for i in range(1, 31)])
check_sample("Chng sample", block_with("Unchanged New File Lines Not Shown"),
             run([cli, "-t", "Chng", "new30.txt", "old30.txt"]))
write("fruit-new.txt", ["apple", "pear", "plum", "fig"])
write("fruit-old.txt", ["fig", "kiwi", "apple"])
check_sample("Clnc sample", block_with("Clnc Preference New File Output Section"),
             run([cli, "-t", "Long", "-p", "clnc", "fruit-new.txt", "fruit-old.txt"]))
write("dp-new.c", ["int a; // count", "/* block", "   comment */ int b;", 'char *s = "http://x";'])
write("dp-old.c", ["int a;", "int b;", 'char *s = "http://x";'])
check_sample("Dcpp sample", block_with("DP-LINE(NEW)"), run([cli, "-t", "Long", "-d", "dcpp", "dp-new.c", "dp-old.c"]))

# The folder compare sample: two releases of a small project.
for side in ("release-2.0", "release-2.1"):
    now = side.endswith("1")
    write(side + "/Makefile", ["CFLAGS = -O2" + (" -Wall" if now else "")])
    write(side + "/src/main.c", ["int main(void) { return 0; }"])
    write(side + "/src/list.txt", new if now else old)
write("release-2.1/docs/README.md", ["Ledger\r"])
write("release-2.0/docs/README.md", ["Ledger"])
write("release-2.0/docs/NOTES.txt", ["old notes"])
write("release-2.1/src/report.c", ["void report(void);"])
check_sample("folder summary sample", block_with("Status            Inserted"), run([cli, "release-2.1", "release-2.0"]))

# The sample batch job and its log.
job = block_with("// nightly check")
write("newl.txt", ["fig", "apple", "pear"])
write("oldl.txt", ["apple", "fig", "kiwi"])
write("job.ini", job)
run([cli, "inif=job.ini"])
log = open(os.path.join(work, "Quorln32.log"), encoding="utf-8", errors="replace").read()
check_sample("batch log sample", block_with("*** Batch Activity using Ini File="), log)
final = re.search(r'and the final status "([^"]*)"', guide)
final = " ".join(final.group(1).split()) if final else "(no final status in the guide)"
if final not in " ".join(run([cli, "inif=job.ini"]).split()):
    failures.append(f"batch sample: the final status is not [{final}]")

# Log messages the guide quotes: an outf= in step 2, a step without outf=.
write("step2.ini", ["newf=new.txt", "oldf=old.txt", "outf=report.txt", "/job", "newf=new.txt", "oldf=old.txt",
                    "outf=x.txt"])
write("nooutf.ini", ["newf=new.txt", "oldf=old.txt"])
for ini, pattern in [("step2.ini", r"`(Invalid Keyword [^`]*)`"), ("nooutf.ini", r"`(Valid file names[^`]*)`")]:
    os.remove(os.path.join(work, "Quorln32.log"))
    quoted = re.search(pattern, guide)
    run([cli, "inif=" + ini], ok=(2,))
    log = open(os.path.join(work, "Quorln32.log"), encoding="utf-8").read().replace("\r", "")
    if not quoted or " ".join(quoted.group(1).split()) not in log.split("\n"):
        failures.append(f"{ini}: the log lacks the guide's [{quoted.group(1) if quoted else pattern}]")

# The JSON sample, key for key.
command = next((line for b in blocks(guide) for line in b if line.startswith("quorlin-cli") and "--json" in line), "")
run(shlex.split(command.replace("quorlin-cli", cli, 1)))
try:
    want = json.loads("\n".join(block_with('"exit_status": 1')))
    got = json.load(open(os.path.join(work, "result.json")))
    for key in sorted(set(want) | set(got)):
        if want.get(key) != got.get(key):
            failures.append(f"JSON sample: {key} is {got.get(key)!r} in the program, {want.get(key)!r} in the guide")
except (ValueError, OSError) as e:
    failures.append(f"JSON sample: {e}")

# Every other quorlin-cli command of the guide and the README runs as
# written; usage lines (with placeholders) are not commands.
for name in ["new/ledger.c", "old/ledger.c"]:
    with open(os.path.join(source, "examples", name), encoding="utf-8", errors="replace") as f:
        write(name, f.read().split("\n")[:-1])
write("new.cfg", ["a=1", "b=2"])
write("old.cfg", ["A=1", "b=3"])
write("new.c", ["int x;"])
write("old.c", ["int y;"])
write("-odd-name.txt", ["x"])
write("old name.txt", ["y"])
for name in ["users-now.txt", "users-then.txt", "users.txt", "users.bak"]:
    write(name, ["root", "daemon", "bin"] if "now" in name or name == "users.txt" else ["bin", "root"])
write("nightly.ini", ["newf=new.txt", "oldf=old.txt", "outf=nightly.lst", "pref=nosw"])
commands = []
for text in (guide, readme):
    for line in text.split("\n"):
        line = line.strip()
        command = re.sub(r"\s+#.*$", "", line.replace("build/quorlin-cli", "quorlin-cli"))
        if command.startswith("quorlin-cli ") or command.startswith("sort users.txt | quorlin-cli"):
            if not re.search(r"\[|\bNEW\b|\bOLD\b|BATCH\.INI|FILE|REPORT", command):
                commands.append(command)
for command in commands:
    run(command, shell=True)
if len(commands) < 8:
    failures.append(f"only {len(commands)} commands found in the guide and the README")

for f in failures:
    print("FAIL", f)
print(f"{len(commands)} commands and the guide's samples checked; {len(failures)} failed")
sys.exit(1 if failures else 0)
