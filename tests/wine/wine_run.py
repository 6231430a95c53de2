#!/usr/bin/env python3
"""Runs one Windows program in the test run's Wine prefix and passes on its exit code.

usage: wine_run.py [--timeout SECONDS] [--stdout FILE] [--cwd DIR] PROGRAM [ARGS...]

PROGRAM given as a bare file name is the program of that name in the build under test (the
launcher template, the wizard driver, a test program). The program's standard output is written to FILE (raw bytes) when given and always printed
(decoded) to this script's standard output. A program still running after the time-out is
killed and the exit code is 124.
"""
import argparse
import pathlib
import sys

import winetest


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--timeout", type=float, default=winetest.DEFAULT_TIMEOUT)
    parser.add_argument("--stdout", type=pathlib.Path)
    parser.add_argument("--cwd", type=pathlib.Path)
    parser.add_argument("program")
    parser.add_argument("args", nargs=argparse.REMAINDER)
    options = parser.parse_args()
    try:
        program = options.program
        if pathlib.PurePath(program).name == program:
            program = winetest.helper_program(program)
        result = winetest.run(program, *options.args, timeout=options.timeout, cwd=options.cwd)
    except winetest.HarnessError as failure:
        print(f"FAILED: {failure}", file=sys.stderr)
        return 125
    if options.stdout:
        options.stdout.write_bytes(result.stdout_bytes)
    sys.stdout.write(result.stdout)
    if result.timed_out:
        print(f"wine_run: {options.program} timed out after {options.timeout} s", file=sys.stderr)
    return result.exit_code


if __name__ == "__main__":
    sys.exit(main())
