#!/usr/bin/env python3
"""Mutation check: how many small faults planted in src/ does the test suite catch?

Picks --count mutation sites in src/*.cpp (main.cpp aside) with --seed, and for each one applies
it, rebuilds incrementally, runs the test executables (the mutated file's own area first) until
one fails, and restores the file. Sites depend only on src/, so the same seed gives the same
mutants whatever tests/ holds.  See docs/design-notes.md, "Mutation check".
    nice -n 10 python3 scripts/mutants.py --seed 2026 --count 48
"""
import argparse, json, os, random, re, shutil, signal, subprocess, sys, time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
OTHER_OS = re.compile(r"Q_OS_WIN|Q_OS_MAC|_WIN32|__APPLE__")
SKIP_STMT = re.compile(r"^(return|break|continue|case|default|goto|using|typedef|throw|delete|else|do)\b")
CALL = re.compile(r"^[\w:.\->\[\]*]+(<[\w:, ]*>)?\s*\(.*\)\s*;$")  # f(...); obj.f(...); a->b::f(...);
ASSIGN = re.compile(r"^(\+\+|--)?[\w:.\->\[\]*]+\s*([-+*/|&^%]?=(?!=)|\+\+|--)")  # x = ..; a.b += ..; ++i;
SWAP = re.compile(r"\b(?!if\b|while\b|for\b|switch\b|return\b|sizeof\b)\w+\s*\(\s*([^(),<>{}]+?)\s*,\s*([^(),<>{}]+?)\s*\)")
# Each operator: a pattern over the masked line and what the match becomes.
TOKEN_OPS = [
    ("cmp", re.compile(r"(?<=\s)(==|!=|<=|>=|<|>)(?=\s)"),
     {"==": "!=", "!=": "==", "<": ">=", ">=": "<", ">": "<=", "<=": ">"}),
    ("bound", re.compile(r"(?<=\s)(<=|>=|<|>)(?=\s)"), {"<": "<=", "<=": "<", ">": ">=", ">=": ">"}),
    ("bool", re.compile(r"\b(true|false)\b"), {"true": "false", "false": "true"}),
    ("logic", re.compile(r"(?<=\s)(&&|\|\|)(?=\s)"), {"&&": "||", "||": "&&"}),
    ("not", re.compile(r"(?<![\w)\]!])!(?![=!])"), {"!": ""}),
    ("const", re.compile(r"(?<![\w.'])\d+(?![\w.'])"), None),  # n -> n + 1
]


def mask(lines):
    """Each line with comments blanked and the inside of string and char literals turned to 'x'."""
    out, in_block = [], False
    for line in lines:
        chars, i, n = list(line), 0, len(line)
        while i < n:
            if in_block:
                end = line.find("*/", i)
                stop = n if end < 0 else end + 2
                chars[i:stop] = " " * (stop - i)
                in_block, i = end < 0, stop
            elif line.startswith("//", i):
                chars[i:] = " " * (n - i)
                break
            elif line.startswith("/*", i):
                in_block = True
            elif line[i] in "\"'":
                quote, j = line[i], i + 1
                while j < n and line[j] != quote:
                    j += 2 if line[j] == "\\" else 1
                chars[i + 1:min(j, n)] = "x" * (min(j, n) - i - 1)
                i = j + 1
            else:
                i += 1
        out.append("".join(chars))
    return out


def built_here(code_lines):
    """Per line: is it compiled on this machine? Lines only built on Windows or macOS give no mutant."""
    frames, out = [], []  # per open #if: [dead in its first branch, dead after #else, in #else]
    for code in code_lines:
        words = code.strip().lstrip("#").split() if code.lstrip().startswith("#") else [""]
        other = bool(OTHER_OS.search(code))
        if words[0] in ("if", "ifdef"):
            frames.append([other, False, False])
        elif words[0] == "ifndef":
            frames.append([False, other, False])
        elif words[0] in ("else", "elif") and frames:
            frames[-1][2] = True
        elif words[0] == "endif" and frames:
            frames.pop()
        out.append(not any(f[1] if f[2] else f[0] for f in frames))
    return out


def statement_site(code, prev):
    """A whole simple statement (a call or an assignment) on one line, safe to drop."""
    s = code.strip()
    if (not s.endswith(";") or prev[-1:] not in (";", "{", "}", ":") or SKIP_STMT.match(s)
            or s.count("(") != s.count(")") or s.count(";") != 1):
        return False
    return bool(CALL.match(s) or ASSIGN.match(s))


def enumerate_sites(src):
    """Every mutation site in src/, in file, line, column and operator order."""
    sites = []
    for path in sorted(p for p in src.rglob("*.cpp") if p != src / "main.cpp"):
        rel = str(path.relative_to(ROOT))
        lines, prev = path.read_text().split("\n"), "{"
        masked = mask(lines)
        for no, (line, code, here) in enumerate(zip(lines, masked, built_here(masked)), 1):
            if code.lstrip().startswith("#") or not code.strip() or not here:
                continue
            for op, pattern, table in TOKEN_OPS:
                for m in pattern.finditer(code):
                    new = str(int(m.group()) + 1) if table is None else table[m.group()]
                    sites.append((rel, no, m.start(), op, m.group(), new, m.end()))
            if statement_site(code, prev):
                start = len(code) - len(code.lstrip())
                sites.append((rel, no, start, "stmt", line[start:], "", len(line)))
            if line.startswith((" ", "\t")):  # not a definition's parameter list
                for m in SWAP.finditer(code):
                    a, b = line[m.start(1):m.end(1)], line[m.start(2):m.end(2)]
                    if a != b:
                        sites.append((rel, no, m.start(1), "swap", line[m.start(1):m.end(2)],
                                      b + line[m.end(1):m.start(2)] + a, m.end(2)))
            prev = code.strip() or prev
    return sites


def choose(seed, count):
    sites = enumerate_sites(ROOT / "src")
    picked = sorted(random.Random(seed).sample(sites, min(count, len(sites))))
    return [dict(id=i, file=s[0], line=s[1], col=s[2], op=s[3], before=s[4], after=s[5], end=s[6])
            for i, s in enumerate(picked, 1)]


def apply(m):
    path = ROOT / m["file"]
    text = path.read_text()
    lines = text.split("\n")
    line = lines[m["line"] - 1]
    assert line[m["col"]:m["end"]] == m["before"], f"mutant {m['id']}: source moved"
    lines[m["line"] - 1] = line[:m["col"]] + m["after"] + line[m["end"]:]
    path.write_text("\n".join(lines))
    return text


def configure(build):
    if not (build / "build.ninja").exists():
        # Unoptimised and without debug information: each mutant costs a quick compile and light links.
        cmd = ["cmake", "-S", str(ROOT), "-B", str(build), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=",
               "-DCMAKE_CXX_FLAGS=-O0 -DNDEBUG"]
        if shutil.which("ccache"):
            cmd.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
        if shutil.which("ld.lld"):  # some ten links per mutant; lld is several times faster than ld
            cmd.append("-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld")
        subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL)


def list_tests(build):
    """The suite as ctest knows it (before the first build, the commands are not known yet)."""
    shown = subprocess.run(["ctest", "--show-only=json-v1"], cwd=build, check=True, capture_output=True, text=True)
    tests = []
    for t in json.loads(shown.stdout)["tests"]:
        props = {p["name"]: p["value"] for p in t.get("properties", [])}
        env = dict(os.environ, **dict(e.split("=", 1) for e in props.get("ENVIRONMENT", [])))
        tests.append(dict(name=t["name"], cmd=t.get("command"), secs=0, env=env, cwd=props.get("WORKING_DIRECTORY", str(build))))
    return tests


def related_first(tests, file):
    """The mutated file's own area first, then the tests whose sources name it most, then the quick ones."""
    area, stem = "test_" + "_".join(Path(file).parent.parts[1:]), Path(file).stem
    mentions = {name: sum(p.read_text(errors="replace").count(stem) for p in files)
                for name, files in TEST_SOURCES.items()}
    return sorted(tests, key=lambda t: (t["name"] != area, -mentions.get(t["name"], 0), t["secs"], t["name"]))


def run_test(t, timeout):
    proc = subprocess.Popen(t["cmd"], cwd=t["cwd"], env=t["env"], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, start_new_session=True)
    try:
        return "failed" if proc.wait(timeout=timeout) else "passed"
    except subprocess.TimeoutExpired:
        return "timed out"
    finally:  # the test's own children (the stand-in server) go with it
        try:
            os.killpg(proc.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        proc.wait()


def check(m, build, tests, targets, args):
    original = apply(m)
    try:
        built = subprocess.run(["ninja", "-C", str(build), "-j", str(args.jobs)] + targets,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if built.returncode:
            return "not built", ""
        for t in related_first(tests, m["file"]):
            outcome = run_test(t, args.timeout)
            if outcome != "passed":
                return ("timed out" if outcome == "timed out" else "killed"), t["name"]
        return "survived", ""
    finally:
        (ROOT / m["file"]).write_text(original)


def terminate(signum, _frame):  # unwinds through check()'s finally: the file is restored
    raise KeyboardInterrupt(f"signal {signum}")


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--seed", type=int, default=2026)
    ap.add_argument("--count", type=int, default=48)
    ap.add_argument("--build", default="build-mutants", help="build directory (configured once)")
    ap.add_argument("--timeout", type=int, default=180, help="seconds per test executable")
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--only", type=lambda ids: {int(i) for i in ids.split(",")},
                    help="check these mutant ids only (comma-separated)")
    ap.add_argument("--list", action="store_true", help="print the chosen sites, build nothing")
    args = ap.parse_args()
    mutants = [m for m in choose(args.seed, args.count) if args.only is None or m["id"] in args.only]
    if args.list:
        for m in mutants:
            print(f"{m['id']:3} {m['file']}:{m['line']} {m['op']}: {m['before']!r} -> {m['after']!r}")
        return 0
    if subprocess.run(["git", "status", "--porcelain", "--", "src"], cwd=ROOT, capture_output=True, text=True).stdout:
        sys.exit("src/ has uncommitted changes: commit or stash them first (mutants restore files from memory)")
    signal.signal(signal.SIGTERM, terminate)
    build = (ROOT / args.build).resolve()
    configure(build)
    # Most tests are their own target (a few are runs of another test's program); the end-to-end
    # tests start quillclient, most start the server.
    known = subprocess.run(["ninja", "-C", str(build), "-t", "targets", "all"], check=True, capture_output=True,
                           text=True).stdout
    known = {line.split(":", 1)[0] for line in known.splitlines()}
    wanted = {t["name"] for t in list_tests(build)} | {"quillclient", "quill-vendor-sim"}
    targets = sorted(wanted & known)
    if subprocess.run(["ninja", "-C", str(build), "-j", str(args.jobs)] + targets).returncode:
        sys.exit("the unmutated tree does not build")
    tests = list_tests(build)
    for t in tests if args.only is None or len(args.only) > 1 else []:  # a failing test would "kill" them all
        began = time.time()
        if run_test(t, args.timeout) != "passed":
            sys.exit(f"{t['name']} fails without any mutant")
        t["secs"] = time.time() - began
    counts, start = {}, time.time()
    for m in mutants:
        began = time.time()
        outcome, by = check(m, build, tests, targets, args)
        counts[outcome] = counts.get(outcome, 0) + 1
        print(f"{m['id']:3} {outcome:9} {m['file']}:{m['line']} {m['op']}: {m['before']!r} -> {m['after']!r}"
              f"{'  (' + by + ')' if by else ''}  [{time.time() - began:.0f}s]", flush=True)
    killed = counts.get("killed", 0) + counts.get("timed out", 0)
    judged = killed + counts.get("survived", 0)
    print(f"\n{', '.join(f'{k}: {v}' for k, v in sorted(counts.items()))}; {time.time() - start:.0f}s")
    print(f"kill rate: {killed}/{judged} = {100 * killed / judged:.1f}%" if judged else "kill rate: no mutant judged")
    return 0


TEST_SOURCES = {name: [lst.parent / f for f in files.split() if (lst.parent / f).is_file()]
                for lst in (ROOT / "tests").glob("*/CMakeLists.txt")
                for name, files in re.findall(r"quill_add_test\((\w+)\s+SOURCES([^)]*)\)", lst.read_text())}
if __name__ == "__main__":
    sys.exit(main())
