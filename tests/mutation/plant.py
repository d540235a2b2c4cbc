#!/usr/bin/env python3
"""Lists the faults of faults.txt, or plants / restores one of them in a source tree.

  plant.py list FAULTS                 -> one fault name per line
  plant.py check FAULTS TREE           -> fails unless every snippet occurs once in TREE
  plant.py plant FAULTS INDEX TREE     -> prints the file it changed (relative to TREE)
  plant.py restore TREE FILE           -> puts the original file back
  plant.py sync SOURCE TREE            -> makes TREE a copy of SOURCE's tracked and new files
The snippet must occur exactly once in all of TREE/src and TREE/tools together (the library,
its tool, its filter and the tools' shared code); anything else is an error, so that a fault
list gone stale after a refactoring is noticed instead of silently testing nothing.
"""
import os
import shutil
import subprocess
import sys


def parse(path):
    faults, current = [], {}
    for line in open(path, encoding="utf-8"):
        line = line.rstrip("\n")
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        key, _, value = line.partition(":")
        value = value.strip().replace("\\n", "\n")
        if key == "fault":
            current = {"name": value}
            faults.append(current)
        elif key in ("find", "into"):
            current[key] = value
        else:
            sys.exit(f"faults file: unexpected line: {line}")
    for f in faults:
        if "find" not in f or "into" not in f:
            sys.exit(f"fault '{f['name']}' needs both find: and into:")
    return faults


SEARCHED_FOLDERS = ("src", "tools")


def planted_files(tree):
    for folder in SEARCHED_FOLDERS:
        for root, _, files in os.walk(os.path.join(tree, folder)):
            for name in files:
                if not name.endswith(".orig"):
                    yield os.path.join(root, name)


def place(fault, tree):
    """The one file that holds the fault's snippet, with its text; exits naming where the snippet
    is when that is not exactly one place."""
    hits = []
    for path in planted_files(tree):
        try:
            text = open(path, encoding="utf-8").read()
        except UnicodeDecodeError:
            continue
        if fault["find"] in text:
            hits.append((path, text.count(fault["find"]), text))
    total = sum(n for _, n, _ in hits)
    if total != 1:
        places = ", ".join(os.path.relpath(p, tree) for p, _, _ in hits) or "nowhere"
        sys.exit(f"fault '{fault['name']}': snippet found {total} times ({places})")
    path, _, text = hits[0]
    return path, text


def plant(fault, tree):
    path, text = place(fault, tree)
    shutil.copy2(path, path + ".orig")
    with open(path, "w", encoding="utf-8") as out:
        out.write(text.replace(fault["find"], fault["into"]))
    print(os.path.relpath(path, tree))


def sync(source, tree):
    """Copies what differs (with a fresh time, so that the build sees it, whatever a fault left
    behind) and deletes what the source no longer has."""
    listing = subprocess.run(["git", "-C", source, "ls-files", "-z", "-co", "--exclude-standard"],
                             check=True, capture_output=True).stdout.decode()
    wanted = {name for name in listing.split("\0") if name and os.path.isfile(os.path.join(source, name))}
    for name in wanted:
        src, dst = os.path.join(source, name), os.path.join(tree, name)
        if os.path.exists(dst) and open(src, "rb").read() == open(dst, "rb").read():
            continue
        os.makedirs(os.path.dirname(dst), exist_ok=True)
        shutil.copyfile(src, dst)
        shutil.copymode(src, dst)
    for root, _, files in os.walk(tree):
        for name in files:
            path = os.path.join(root, name)
            if os.path.relpath(path, tree) not in wanted:
                os.remove(path)


if __name__ == "__main__":
    command = sys.argv[1]
    if command == "list":
        for f in parse(sys.argv[2]):
            print(f["name"])
    elif command == "check":
        for fault in parse(sys.argv[2]):
            place(fault, sys.argv[3])
    elif command == "plant":
        plant(parse(sys.argv[2])[int(sys.argv[3])], sys.argv[4])
    elif command == "sync":
        sync(sys.argv[2], sys.argv[3])
    elif command == "restore":
        path = os.path.join(sys.argv[2], sys.argv[3])
        os.replace(path + ".orig", path)
        os.utime(path, None)  # newer than the object built from the fault: rebuilt next time
    else:
        sys.exit("usage: plant.py list|check|plant|restore|sync ...")
