#!/usr/bin/env python3
"""Checks the skin engine's includes against its layer order.

The order stands in the comment at the top of source/skin/SkinMessages.h: numbered layers from the
bottom, each naming its units. Every file of source/skin must belong to a listed unit; a file may
include a file of its own layer or of a lower one, and of the other program folders only
source/platform; the units of the folder must form no include circle.

Usage: skin_layers.py [SOURCE_DIR]   (default: source)
Prints each fault; exit code 1 when there is one, else 0.
"""
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import include_graph  # noqa: E402

LAYER_LINE = re.compile(r'^//\s+(\d+)\.\s')
UNIT = re.compile(r'\bSkin\w+')


def read_layers(header):
    """{unit: layer number} from the numbered lines of the header's first comment."""
    layers, current = {}, None
    with open(header) as text:
        for line in text:
            if not line.startswith('//'):
                break
            match = LAYER_LINE.match(line)
            if match:
                current = int(match.group(1))
                line = line.split(':', 1)[-1]
            elif current is None or not line.startswith('//      '):
                current = None
                continue
            for unit in UNIT.findall(line):
                layers[unit] = current
    return layers


def check(root):
    skin = os.path.join(root, 'skin')
    layers = read_layers(os.path.join(skin, 'SkinMessages.h'))
    faults = []
    if not layers:
        return ['no layer order found in SkinMessages.h']
    other = {}
    for folder in os.listdir(root):
        path = os.path.join(root, folder)
        if os.path.isdir(path) and folder != 'skin':
            for name in os.listdir(path):
                other[name] = folder
    for name in sorted(os.listdir(skin)):
        if not name.endswith(('.h', '.cpp')):
            continue
        unit = os.path.splitext(name)[0]
        if unit not in layers:
            faults.append(f'{name}: its unit is in no layer')
            continue
        with open(os.path.join(skin, name), errors='replace') as text:
            for number, line in enumerate(text, 1):
                match = include_graph.INCLUDE.match(line)
                if not match:
                    continue
                target = os.path.basename(match.group(1))
                target_unit = os.path.splitext(target)[0]
                if target_unit in layers:
                    if layers[target_unit] > layers[unit]:
                        faults.append(f'{name}:{number}: includes {target} of layer {layers[target_unit]} '
                                      f'from layer {layers[unit]}')
                elif other.get(target, 'platform') != 'platform':
                    faults.append(f'{name}:{number}: includes {target} of source/{other[target]}')
    units, edges, _ = include_graph.read_units(skin)
    for component in include_graph.circles(units, edges):
        faults.append('include circle: ' + ' '.join(component))
    return faults


def main(argv):
    root = argv[0] if argv else 'source'
    faults = check(root)
    for fault in faults:
        print(fault)
    print(f'{len(faults)} faults in the skin engine\'s layers')
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
