#!/usr/bin/env python3
"""Fails when a build or test file names a path outside the project.

A clone of the project alone must build and pass its tests, so nothing in the build files, the tests, the
benchmarks, the fuzz targets or the scripts may reach beside or above the clone. Looked for:

  * relative paths whose ".." steps climb out of the clone, taken from the file's own folder or from the
    CMake variable they follow (${PROJECT_SOURCE_DIR}/.. and the like);
  * absolute paths into the folder that holds the clone (its siblings), and absolute paths that exist on
    this machine outside the clone and outside the system's own folders.

Made-up absolute paths that tests use as plain text ("/home/user/trees") exist nowhere and pass.

    python3 scripts/check_paths_inside.py          checks the project, lists every offending line
    python3 scripts/check_paths_inside.py --self-test   checks that the rules above catch what they should
"""

import os
import re
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
SELF = Path(__file__).resolve()

# Folders whose files are build or test files; CMake files anywhere count as well.
SCANNED_FOLDERS = ("tests", "bench", "fuzz", "scripts", "cmake", "app")
SKIPPED_FOLDERS = ("tests/data",)
BUILD_FILE_NAMES = ("CMakeLists.txt", "Makefile")

# Places of the system itself, which a build may well name (compilers, devices, temporary files).
SYSTEM_PREFIXES = ("/usr/", "/bin/", "/sbin/", "/lib", "/etc/", "/dev/", "/proc/", "/sys/", "/tmp/", "/var/",
                   "/run/")

CLIMB = re.compile(r"[^\s\"'()<>,;`]*\.\./[^\s\"'()<>,;`]*")
ABSOLUTE = re.compile(r"(?:^|(?<=[\"'\s=(:]))(/[A-Za-z_][\w.-]*(?:/[\w.-]+)+)")
ROOT_VARIABLES = ("${PROJECT_SOURCE_DIR}", "${CMAKE_SOURCE_DIR}")
FOLDER_VARIABLES = ("${CMAKE_CURRENT_SOURCE_DIR}", "${CMAKE_CURRENT_LIST_DIR}")


def inside(path, root):
    path = os.path.normpath(path)
    root = os.path.normpath(str(root))
    return path == root or path.startswith(root + os.sep)


def climb_target(token, folder, root):
    """Where a token with ".." steps leads."""
    for variable in ROOT_VARIABLES:
        if variable in token:
            return os.path.join(str(root), token.split(variable, 1)[1].lstrip("/"))
    for variable in FOLDER_VARIABLES:
        if variable in token:
            return os.path.join(str(folder), token.split(variable, 1)[1].lstrip("/"))
    # Any other variable ($here, ${CMAKE_BINARY_DIR}) stands for a folder of the project; what follows it
    # is taken from the file's folder, like a bare relative path.
    rest = re.split(r"\$\{?\w+\}?", token)[-1]
    return os.path.join(str(folder), rest.lstrip("/"))


def problems_in_text(text, file_path, root):
    found = []
    folder = Path(file_path).parent
    parent = os.path.dirname(os.path.normpath(str(root)))
    for number, line in enumerate(text.splitlines(), 1):
        for match in CLIMB.finditer(line):
            target = climb_target(match.group(0), folder, root)
            if not inside(target, root):
                found.append((number, match.group(0), "climbs out of the project"))
        for match in ABSOLUTE.finditer(line):
            path = match.group(1)
            if inside(path, root) or path.startswith(SYSTEM_PREFIXES):
                continue
            if inside(path, parent):
                found.append((number, path, "names a folder beside the project"))
            elif os.path.exists(path):
                found.append((number, path, "names a path outside the project"))
    return found


def scanned_files(root):
    listed = subprocess.run(["git", "-C", str(root), "ls-files", "--cached", "--others", "--exclude-standard"],
                            capture_output=True, text=True)
    names = listed.stdout.split("\n") if listed.returncode == 0 else [
        str(p.relative_to(root)) for p in root.rglob("*") if p.is_file()]
    for name in names:
        if not name or any(name == s or name.startswith(s + "/") for s in SKIPPED_FOLDERS):
            continue
        path = root / name
        base = os.path.basename(name)
        wanted = (base in BUILD_FILE_NAMES or base.endswith(".cmake") or
                  name.split("/", 1)[0] in SCANNED_FOLDERS)
        if wanted and path.is_file() and path.resolve() != SELF:
            yield path


def check(root):
    failures = 0
    for path in scanned_files(root):
        try:
            text = path.read_text(encoding="utf-8")
        except (UnicodeDecodeError, OSError):
            continue
        for number, what, why in problems_in_text(text, path, root):
            print(f"{path.relative_to(root)}:{number}: {what} {why}")
            failures += 1
    if failures:
        print(f"{failures} path(s) outside the project; copy what is needed into the project instead")
    return failures == 0


def self_test():
    root = Path("/r/clone")
    up = ".." + "/"
    beside = "/r/" + "other/data/x.ged"
    cases = [
        ("${PROJECT_SOURCE_DIR}/" + up + "shared/data", "tests/CMakeLists.txt", True),
        ('filePath("' + up + up + 'shared/tools/gen.py")', "bench/b.cpp", True),
        ("${CMAKE_CURRENT_SOURCE_DIR}/" + up + up + up + "x", "tests/CMakeLists.txt", True),
        ('"' + beside + '"', "tests/t.cpp", True),
        ("${PROJECT_SOURCE_DIR}/tests/data", "tests/CMakeLists.txt", False),
        ('TestData("' + up + up + 'resources/sample/s.ged")', "tests/gedcom/t.cpp", False),
        ('$here/' + up + 'resources/sample/s.ged', "scripts/run.sh", False),
        ('"/home/user/' + 'trees/family.vrd"', "tests/t.cpp", False),
        ('"/usr/share/' + 'fonts/x.ttf"', "tests/t.cpp", False),
    ]
    ok = True
    for text, name, expected in cases:
        got = bool(problems_in_text(text, root / name, root))
        if got != expected:
            print(f"self-test: {text!r} in {name}: expected {'a finding' if expected else 'none'}")
            ok = False
    return ok


def main():
    if "--self-test" in sys.argv[1:]:
        return 0 if self_test() else 1
    return 0 if self_test() and check(ROOT) else 1


if __name__ == "__main__":
    sys.exit(main())
