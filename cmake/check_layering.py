#!/usr/bin/env python3
"""Checks every #include "..." of the sources against the declared layering.

The rules file (written by cmake/subsystems.cmake) holds one line per folder or file:
"path: allowed allowed ...". A file is ruled by the longest path that contains it; it may
include from its own folder, from every allowed path, and from whatever an allowed folder
may include in turn. Tests follow the rule of the folder they test (tests/packages that of
packages/), and may also use the host stand-ins and the shared fixtures. Exits 1 and names
every forbidden include, and every cycle among the declared folders.
"""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
SOURCE_SUFFIXES = {".h", ".cpp"}
TEST_EXTRAS = ("platform/host", "tests/support")


def read_rules(path):
    rules = {}
    for line in pathlib.Path(path).read_text().splitlines():
        if ":" not in line:
            continue
        owner, allowed = line.split(":", 1)
        rules[owner.strip()] = allowed.split()
    return rules


def contains(folder_or_file, path):
    return path == folder_or_file or path.startswith(folder_or_file + "/")


def ruling_path(rules, path):
    matches = [owner for owner in rules if contains(owner, path)]
    return max(matches, key=len) if matches else None


def closure(rules, owner):
    """The paths that `owner` may include from, following allowed folders transitively."""
    seen, pending = set(), list(rules.get(owner, []))
    while pending:
        item = pending.pop()
        if item in seen:
            continue
        seen.add(item)
        pending.extend(rules.get(item, []))
    return seen


def find_cycles(rules):
    cycles = []
    for owner in rules:
        if owner in closure(rules, owner):
            cycles.append(owner)
    return cycles


def resolve(root, including, name):
    for base in (including.parent, root, root / "tests"):
        candidate = base / name
        if candidate.is_file():
            return candidate.resolve().relative_to(root).as_posix()
    return None


def owner_of(rules, relative):
    """The rule that holds for a file: its own path's, or for a test that of the tested folder."""
    owner = ruling_path(rules, relative)
    if owner is None and relative.startswith("tests/"):
        owner = ruling_path(rules, relative[len("tests/"):])
    return owner


def checked_files(root, rules):
    for path in sorted(root.rglob("*")):
        if path.suffix not in SOURCE_SUFFIXES or not path.is_file():
            continue
        relative = path.relative_to(root).as_posix()
        if relative.startswith(("build/", "tools/")):
            continue
        owner = owner_of(rules, relative)
        if owner is None:
            continue
        is_test = relative.startswith("tests/")
        # The tests of the adapters test the stand-ins themselves, not a layer of the core.
        if is_test and owner.startswith("platform"):
            continue
        yield path, relative, owner, is_test


def main():
    root = pathlib.Path(sys.argv[1]).resolve()
    rules = read_rules(sys.argv[2])
    problems = [f"cycle: {owner} may reach itself" for owner in find_cycles(rules)]
    for path, relative, owner, is_test in checked_files(root, rules):
        allowed = {owner} | closure(rules, owner) | (set(TEST_EXTRAS) if is_test else set())
        own_folder = pathlib.PurePosixPath(relative).parent.as_posix()
        for name in INCLUDE.findall(path.read_text(errors="replace")):
            target = resolve(root, path, name)
            if target is None:
                continue  # a system or generated header
            target_owner = owner_of(rules, target)
            permitted = (pathlib.PurePosixPath(target).parent.as_posix() == own_folder
                         or target in allowed or target_owner in allowed)
            if not permitted:
                problems.append(f'{relative}: #include "{name}" crosses from {owner} into {target_owner or target}')
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} include(s) break the layering declared in CMakeLists.txt (see docs/layering.md)")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
