#!/usr/bin/env python3
"""The folder-level include graph of the emulator, checked.

Every `#include "..."` under emulator/ is an edge from the including file's folder to
the included file's folder (host/sdl and host/web count as folders of their own). The
platform seam, platform/platform.h, is a folder of its own: it includes nothing of the
project and is implemented by the backends and the tests. Fails on a cycle, on a machine folder
that reaches the host, on SDL or Qt outside the backends, and on an upcall: a function
a machine folder declares, defines nowhere in the machine and a folder above defines.

Usage: include_graph.py [--print] EMULATOR_DIR
"""
import pathlib
import re
import sys

# The machine's own folders: they never see the host, its shell or the screens above.
MACHINE = {"common", "drive", "ted", "cpu", "storage", "machine", "chips", "disk", "truedrive", "memory", "bus", "state"}
ABOVE_MACHINE = {"host", "host/sdl", "host/web", "platform", "shell", "menus", "monitor"}
# Folders that may include SDL or Qt headers.
BACKENDS = {"host/sdl", "host/web"}

INCLUDE = re.compile(r'^\s*#\s*include\s+([<"])([^>"]+)[>"]')


def node(path):
    """The graph node of a path relative to emulator/ (or to the repository for settings/)."""
    parts = path.split("/")
    if len(parts) > 2 and parts[0] == "host":
        return "host/" + parts[1]
    return parts[0] if len(parts) > 1 else "."


def build(root):
    edges, problems = {}, []
    for source in sorted(root.rglob("*")):
        if source.suffix not in (".h", ".cpp"):
            continue
        relative = source.relative_to(root).as_posix()
        here = node(relative)
        edges.setdefault(here, {})
        for number, line in enumerate(source.read_text(errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            kind, target = match.groups()
            if kind == "<":
                if re.match(r"(SDL|Q[A-Z]|qt)", target) and here not in BACKENDS:
                    problems.append(f"{relative}:{number}: {here} includes <{target}>")
                continue
            there = node(target)
            if there in (here, "."):
                continue
            edges[here].setdefault(there, f"{relative}:{number}")
            if here in MACHINE and there in ABOVE_MACHINE:
                problems.append(f"{relative}:{number}: machine folder {here} includes {target}")
    return edges, problems


# A declaration at namespace level in a header: a return type, a name, its parameters, ';'.
DECLARATION = re.compile(
    r"^(?!\s*(?:return|using|typedef|friend|static_assert|inline|constexpr|static|#))"
    r"\s*(?:extern\s+)?[A-Za-z_][\w:<>,]*(?:\s*[*&]+\s*|\s+)(?:[*&]\s*)?(\w+)\s*\([^;{}]*\)\s*(?:noexcept\s*)?;",
    re.MULTILINE)
# A definition: a return type, a (possibly qualified) name, its parameters, then the body.
DEFINITION = re.compile(
    r"^[A-Za-z_][\w:<>,]*(?:\s*[*&]+\s*|\s+)(?:[*&]\s*)?(?:\w+::)*(\w+)\s*\([^;{}]*\)\s*(?:const\s*)?(?:noexcept\s*)?\{",
    re.MULTILINE)


def top_level(text):
    """The text outside struct, class, enum and function bodies (namespaces are kept)."""
    out, depth_kinds, i = [], [], 0
    for match in re.finditer(r"[{}]", text):
        brace, at = match.group(), match.start()
        if not any(depth_kinds):
            out.append(text[i:at])
        if brace == "{":
            head = text[max(0, text.rfind("\n", 0, text.rfind("\n", 0, at)) ):at]
            depth_kinds.append(not re.search(r"\bnamespace\b[^;{}]*$", head))
        elif depth_kinds:
            depth_kinds.pop()
        i = at + 1
    if not any(depth_kinds):
        out.append(text[i:])
    return "\n".join(out)


def upcalls(root):
    """Functions declared in a machine folder's headers that only a folder above defines."""
    declared, defined = {}, {}
    for source in sorted(root.rglob("*")):
        if source.suffix not in (".h", ".cpp"):
            continue
        relative = source.relative_to(root).as_posix()
        here = node(relative)
        text = re.sub(r"//[^\n]*", "", source.read_text(errors="replace"))
        if source.suffix == ".h" and here in MACHINE:
            for match in DECLARATION.finditer(top_level(text)):
                declared.setdefault(match.group(1), relative)
        for match in DEFINITION.finditer(text):
            defined.setdefault(match.group(1), set()).add(here)
    problems = []
    for name, header in sorted(declared.items()):
        places = defined.get(name, set())
        if places and not places & MACHINE:
            above = ", ".join(sorted(places))
            problems.append(f"{header}: machine folder declares {name}(), defined above it in {above}")
    return problems


def find_cycle(edges):
    state, path = {}, []

    def visit(n):
        state[n] = "open"
        path.append(n)
        for m in sorted(edges.get(n, {})):
            if state.get(m) == "open":
                return path[path.index(m):] + [m]
            if m not in state:
                found = visit(m)
                if found:
                    return found
        state[n] = "done"
        path.pop()
        return None

    for n in sorted(edges):
        if n not in state:
            found = visit(n)
            if found:
                return found
    return None


def main(argv):
    args = [a for a in argv[1:] if not a.startswith("--")]
    if len(args) != 1:
        print(__doc__)
        return 2
    edges, problems = build(pathlib.Path(args[0]))
    problems += upcalls(pathlib.Path(args[0]))
    if "--print" in argv:
        for n in sorted(edges):
            print(f"{n:10} -> {', '.join(sorted(edges[n])) or '(nothing)'}")
    cycle = find_cycle(edges)
    if cycle:
        steps = [f"{a} -> {b} ({edges[a][b]})" for a, b in zip(cycle, cycle[1:])]
        problems.append("include cycle: " + "; ".join(steps))
    for problem in problems:
        print(problem)
    if problems:
        return 1
    print(f"include graph: {len(edges)} folders, no cycle, no forbidden edge, no upcall")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
