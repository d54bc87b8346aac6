#!/usr/bin/env python3
"""Parity of the two builds: every call of a list through build/prcfg --json
on Linux and through prcfg.exe --json under Wine (sim/wine-prcfg), on the same
machine profile and the same simulated devices, the two answers compared field
by field.

parity.py --machine PROFILE --calls LIST [--linux PRCFG] [--windows WINE_PRCFG]

The list: one call a line, prcfg's arguments as a shell would split them
(NAME=VALUE words first set the environment of both sides). Each side runs in
a folder of its own, which holds the files SHORT.TXT and "a long file
name.txt": a relative path is named alike on both. Lines that begin with
blanks under a call are expectations of that call:

  windows FIELD = JSON   the Windows build's answer for FIELD differs, and is
                         this; the reason (the Win32 call and what Wine does)
                         is the comment above it
  status N               both builds exit with N (default 0)

FIELD is a path into the answer: return, out.NAME, out.NAME.3, ui.
Prints one line a call and closes with "N passed, N failed".
"""
import argparse
import json
import os
import shlex
import subprocess
import sys
import tempfile

FILES = ("SHORT.TXT", "a long file name.txt")
# A call without a script of its own gets one that does nothing: each dialog
# closes as by Escape and each message box is answered, on both builds alike
# (without a script the DLL would leave them to a person).
NOBODY = "# nobody at the keyboard"
NOT_DEFINED = 3  # prcfg: the library does not define the export


class Call:
    def __init__(self, line_number, words):
        self.line_number = line_number
        self.env = {}
        while words and "=" in words[0] and not words[0].startswith("-"):
            name, value = words.pop(0).split("=", 1)
            self.env[name] = value
        self.args = words
        self.windows = {}  # field path -> expected Windows value
        self.status = 0

    def title(self):
        env = " ".join(f"{k}={v}" for k, v in self.env.items())
        return (env + " " if env else "") + shlex.join(self.args)


def read_calls(path):
    calls = []
    with open(path, encoding="utf-8") as file:
        lines = file.read().split("\n")
    for number, raw in enumerate(lines, 1):
        line = raw.rstrip("\n")
        stripped = line.strip()
        if not stripped or stripped.startswith("#"):
            continue
        if line[0] in " \t":
            if not calls:
                sys.exit(f"{path}:{number}: an expectation before any call")
            word, _, rest = stripped.partition(" ")
            if word == "windows":
                field, equals, value = rest.partition("=")
                if not equals:
                    sys.exit(f"{path}:{number}: windows FIELD = JSON")
                try:
                    calls[-1].windows[field.strip()] = json.loads(value)
                except json.JSONDecodeError as error:
                    sys.exit(f"{path}:{number}: {error}")
            elif word == "status":
                calls[-1].status = int(rest)
            else:
                sys.exit(f"{path}:{number}: unknown expectation {word!r}")
            continue
        calls.append(Call(number, shlex.split(stripped)))
    return calls


def run(command, env, folder, timeout=180):
    result = subprocess.run(command, env=env, cwd=folder, capture_output=True, text=True,
                            timeout=timeout, stdin=subprocess.DEVNULL, encoding="utf-8",
                            errors="replace")
    return result.returncode, result.stdout, result.stderr


def fields(value, path=""):
    """Every leaf of an answer as (path, value)."""
    if isinstance(value, dict):
        for key, item in value.items():
            yield from fields(item, f"{path}.{key}" if path else key)
    elif isinstance(value, list) and value:
        for index, item in enumerate(value):
            yield from fields(item, f"{path}.{index}")
    else:
        yield path, value


def hex_of(text):
    return text.encode("cp1252").hex()


def compare(call, linux, windows):
    """The differences that no expectation explains."""
    problems = []
    left = dict(fields(linux))
    right = dict(fields(windows))
    for path in sorted(set(left) | set(right)):
        expected = left.get(path, "(absent)")
        for field, wanted in call.windows.items():
            if path == field or path == field + "_hex":
                expected = wanted if path == field else hex_of(wanted)
                break
        got = right.get(path, "(absent)")
        if got != expected:
            problems.append(f"{path}: linux {json.dumps(left.get(path, '(absent)'))}, "
                            f"windows {json.dumps(got)}"
                            + (f" (expected {json.dumps(expected)})" if path in left and
                               expected != left[path] else ""))
    for field in call.windows:
        if field not in right and field + ".0" not in right:
            problems.append(f"{field}: no such field in the Windows answer")
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--machine", required=True)
    parser.add_argument("--calls", required=True)
    parser.add_argument("--linux", default="build/prcfg")
    parser.add_argument("--windows", default="sim/wine-prcfg")
    options = parser.parse_args()
    calls = read_calls(options.calls)

    passed = failed = skipped = 0
    linux_prcfg = os.path.abspath(options.linux)
    windows_prcfg = os.path.abspath(options.windows)
    machine = ["--machine", os.path.abspath(options.machine)]
    with tempfile.TemporaryDirectory() as top:
        # A folder for each side: a file one side writes is not there for the other.
        folders = {side: os.path.join(top, side) for side in ("linux", "windows")}
        for folder in folders.values():
            os.mkdir(folder)
            for name in FILES:
                with open(os.path.join(folder, name), "w"):
                    pass
        for call in calls:
            env = dict(os.environ, **call.env)
            user = [] if "--user" in call.args else ["--user", NOBODY]
            linux = run([linux_prcfg, *machine, *user, "--json", *call.args], env,
                        folders["linux"])
            windows = run([windows_prcfg, *machine, *user, "--json", *call.args], env,
                          folders["windows"])
            title = f"{options.calls}:{call.line_number}: {call.title()}"
            if linux[0] == NOT_DEFINED and windows[0] == NOT_DEFINED:
                print(f"skip {title}: not defined by either build")
                skipped += 1
                continue
            problems = []
            for side, (status, _, err) in (("linux", linux), ("windows", windows)):
                if status != call.status:
                    problems.append(f"{side} exited {status}: {err.strip()[-400:]}")
            answers = []
            for side, (_, out, _) in (("linux", linux), ("windows", windows)):
                try:
                    answers.append(json.loads(out))
                except json.JSONDecodeError:
                    problems.append(f"{side} printed no JSON: {out.strip()[-400:]}")
            if len(answers) == 2:
                problems += compare(call, *answers)
            if problems:
                failed += 1
                print(f"FAIL {title}")
                for problem in problems:
                    print(f"       {problem}")
            else:
                passed += 1
                print(f"ok   {title}")
    print(f"parity: {passed} passed, {failed} failed" +
          (f", {skipped} skipped" if skipped else ""))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
