#!/usr/bin/env python3
"""Checks that the includes of the sources read top-down.

Every folder has a layer (LAYERS, lowest first; README's developer section
says what each holds). A file may include files of its own folder and of
lower layers, never of a higher layer or of another folder of its own layer.
A header and its source count as one unit; no two units may include each
other, directly or through others, in one folder or across folders (a
window hands over to the window that opened it through a small interface
of a lower layer: the supply sheet's picks, the login). Prints every
offence and exits 1 when there is one.

Usage: check_includes.py [repository root]
"""
import os
import re
import sys

# Lowest first. A folder not listed takes the layer of its nearest listed
# parent (src/ui/base is listed, so it is not part of src/ui's layer).
LAYERS = [
    ["src/core"],
    ["src/store", "src/checks/core"],
    ["src/output/core"],
    ["src/cli", "src/ui/base"],
    ["src/output"],
    ["src/ui"],
    ["src/help", "src/attach", "src/checks"],
    ["src/clients", "src/products"],
    ["src/supplies"],
    ["src/app"],
    ["src/main.cpp"],
    ["tests/support"],
    ["bench", "tests", "fuzz"],
]
SCANNED = ["src", "bench", "tests", "fuzz"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def layer_of(path):
    """(layer number, folder) of a repository-relative path, or None."""
    best = None
    for level, folders in enumerate(LAYERS):
        for folder in folders:
            if path == folder or path.startswith(folder + "/"):
                if best is None or len(folder) > len(best[1]):
                    best = (level, folder)
    return best


def sources(root):
    for top in SCANNED:
        for folder, _, names in os.walk(os.path.join(root, top)):
            for name in sorted(names):
                if name.endswith((".h", ".cpp")):
                    yield os.path.relpath(os.path.join(folder, name), root)


def resolve(root, path, included):
    """The repository-relative file an include names, or None (Qt, generated)."""
    for base in (os.path.dirname(path), "src", "tests"):
        candidate = os.path.normpath(os.path.join(base, included))
        if os.path.isfile(os.path.join(root, candidate)):
            return candidate
    return None


def unit(path):
    return os.path.splitext(path)[0]


def cycles(graph):
    """The strongly connected groups of more than one unit (Tarjan)."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []

    def visit(node):
        index[node] = low[node] = len(index)
        stack.append(node)
        on_stack.add(node)
        for nxt in graph.get(node, ()):
            if nxt not in index:
                visit(nxt)
                low[node] = min(low[node], low[nxt])
            elif nxt in on_stack:
                low[node] = min(low[node], index[nxt])
        if low[node] == index[node]:
            group = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                group.append(member)
                if member == node:
                    break
            if len(group) > 1:
                found.append(sorted(group))

    sys.setrecursionlimit(10000)
    for node in sorted(graph):
        if node not in index:
            visit(node)
    return found


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    offences = []
    graph = {}
    for path in sources(root):
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
            text = f.read()
        source = layer_of(path)
        for included in INCLUDE.findall(text):
            target_path = resolve(root, path, included)
            if target_path is None:
                continue
            if unit(target_path) != unit(path):
                graph.setdefault(unit(path), set()).add(unit(target_path))
            target = layer_of(target_path)
            if source is None or target is None or source[1] == target[1]:
                continue
            if target[0] > source[0]:
                offences.append(f"{path}: includes {target_path} of a higher layer")
            elif target[0] == source[0]:
                offences.append(f"{path}: includes {target_path} of another folder of its layer")
    for group in cycles(graph):
        offences.append("include circle: " + " <-> ".join(group))
    for offence in offences:
        print(offence)
    return 1 if offences else 0


if __name__ == "__main__":
    sys.exit(main())
