#!/usr/bin/env python3
"""Prints the include circles among the units of a source tree.

A unit is a file name less its extension (Foo.h and Foo.cpp are one unit); unit A depends on unit B when
any file of A includes a file of B with #include "...". A circle is a set of two or more units that
reach each other through such dependencies (a strongly connected component). With --edges it also
lists, for each circle, the includes between its members, which are the ones to break.

Usage: include_graph.py [--edges] [SOURCE_DIR]   (default: source)
Exit code 0 always; the first line counts the circles.
"""
import collections
import os
import re
import sys

INCLUDE = re.compile(r'\s*#\s*include\s*"([^"]+)"')


def read_units(root):
    files = {}
    for folder, _, names in os.walk(root):
        for name in names:
            if name.endswith(('.h', '.hpp', '.c', '.cpp', '.inc')):
                path = os.path.join(folder, name)
                files[os.path.relpath(path, root)] = path
    by_name = collections.defaultdict(list)
    for rel in files:
        by_name[os.path.basename(rel)].append(rel)
    edges = collections.defaultdict(set)
    reasons = collections.defaultdict(set)
    for rel, path in files.items():
        unit = os.path.splitext(rel)[0]
        with open(path, errors='replace') as text:
            for line in text:
                match = INCLUDE.match(line)
                if not match:
                    continue
                for target in by_name.get(os.path.basename(match.group(1)), []):
                    other = os.path.splitext(target)[0]
                    if other != unit:
                        edges[unit].add(other)
                        reasons[(unit, other)].add(f'{os.path.basename(rel)} -> {os.path.basename(target)}')
    units = {os.path.splitext(rel)[0] for rel in files}
    return units, edges, reasons


def circles(units, edges):
    """Tarjan's strongly connected components, without recursion."""
    index, low, on_stack, stack, found = {}, {}, set(), [], []
    counter = 0
    for start in sorted(units):
        if start in index:
            continue
        work = [(start, iter(sorted(edges[start])))]
        index[start] = low[start] = counter
        counter += 1
        stack.append(start)
        on_stack.add(start)
        while work:
            node, children = work[-1]
            child = next(children, None)
            if child is not None:
                if child not in index:
                    index[child] = low[child] = counter
                    counter += 1
                    stack.append(child)
                    on_stack.add(child)
                    work.append((child, iter(sorted(edges[child]))))
                elif child in on_stack:
                    low[node] = min(low[node], index[child])
                continue
            work.pop()
            if work:
                low[work[-1][0]] = min(low[work[-1][0]], low[node])
            if low[node] == index[node]:
                component = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    component.append(member)
                    if member == node:
                        break
                if len(component) > 1:
                    found.append(sorted(component))
    return found


def main(argv):
    show_edges = '--edges' in argv
    args = [a for a in argv if a != '--edges']
    root = args[0] if args else 'source'
    units, edges, reasons = read_units(root)
    found = circles(units, edges)
    print(f'{len(found)} include circles among {len(units)} units')
    for component in found:
        print(f'{len(component)}: ' + ' '.join(component))
        if show_edges:
            members = set(component)
            for unit in component:
                for other in sorted(edges[unit] & members):
                    print(f'    {unit} -> {other}   ({", ".join(sorted(reasons[(unit, other)]))})')


if __name__ == '__main__':
    main(sys.argv[1:])
