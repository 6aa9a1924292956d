#!/usr/bin/env python3
"""Include edges between the folders of src/.

Each file belongs to a node: src/<folder>, or src/<folder>/<sub> when it sits
in a subfolder. Every quoted #include is resolved against the including
file's folder first, then against src/ (the include root), and counted as an
edge between the two nodes. Edges inside one node are left out.

  include-graph.py [SRC]          print "from -> to  count", one edge a line
  include-graph.py --check [SRC]  print every include that reaches up a
                                  layer (engines < core < ui); exit 1 if any
"""
import os
import re
import sys
from collections import Counter

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')

# A folder's default layer; a `core/` or `ui/` subfolder overrides it.
FOLDER_LAYER = {
    "imaging": "engines", "calendar": "engines", "sources": "engines",
    "lyrics": "engines", "platform": "engines",
    "app": "core", "download": "core",
    "skin": "ui", "shell": "ui",
}
RANK = {"engines": 0, "core": 1, "ui": 2}


def node_of(rel):
    parts = rel.split("/")
    if len(parts) == 1:
        return "src"
    if len(parts) == 2:
        return "src/" + parts[0]
    return "src/" + parts[0] + "/" + parts[1]


def layer_of(rel):
    parts = rel.split("/")
    if len(parts) == 1:
        return "ui"  # src/main.cpp wires every layer together
    if len(parts) >= 3 and parts[1] in ("core", "ui"):
        return parts[1]
    return FOLDER_LAYER.get(parts[0], "ui")


def includes(src):
    for root, _, files in os.walk(src):
        for name in sorted(files):
            if not name.endswith((".cpp", ".h")):
                continue
            path = os.path.join(root, name)
            rel = os.path.relpath(path, src)
            with open(path, encoding="utf-8", errors="replace") as f:
                for lineno, line in enumerate(f, 1):
                    m = INCLUDE.match(line)
                    if not m:
                        continue
                    target = None
                    for base in (root, src):
                        cand = os.path.normpath(os.path.join(base, m.group(1)))
                        if os.path.isfile(cand):
                            target = os.path.relpath(cand, src)
                            break
                    if target and not target.startswith(".."):
                        yield rel, lineno, target


def main(argv):
    check = "--check" in argv
    args = [a for a in argv if a != "--check"]
    src = args[0] if args else os.path.join(os.path.dirname(__file__), "..", "src")
    src = os.path.normpath(src)
    if check:
        bad = 0
        for rel, lineno, target in includes(src):
            a, b = layer_of(rel), layer_of(target)
            if RANK[b] > RANK[a]:
                print(f"src/{rel}:{lineno}: {a} file includes {b} header src/{target}")
                bad += 1
        if bad:
            print(f"{bad} include(s) reach up a layer")
            return 1
        print("layering ok")
        return 0
    edges = Counter()
    for rel, _, target in includes(src):
        a, b = node_of(rel), node_of(target)
        if a != b:
            edges[(a, b)] += 1
    for (a, b), n in sorted(edges.items()):
        print(f"{a} -> {b}  {n}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
