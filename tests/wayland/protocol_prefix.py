#!/usr/bin/env python3
"""The project's description of a protocol against Debian's: each interface
it names at the same version, and each request and event it lists at the same
place in wire order with the same argument types, so that the opcodes and
signatures the program sends and reads are the compositor's. It may leave out
messages after the last one it uses.
Usage: protocol_prefix.py OURS.xml THEIRS.xml   (exit 77 without THEIRS)"""
import os
import sys
import xml.etree.ElementTree as tree

ours_path, theirs_path = sys.argv[1:3]
if not os.path.exists(theirs_path):
    sys.exit(77)
theirs = {i.get('name'): i for i in tree.parse(theirs_path).getroot().iter('interface')}
faults = []
for ours in tree.parse(ours_path).getroot().iter('interface'):
    name = ours.get('name')
    their = theirs.get(name)
    if their is None or their.get('version') != ours.get('version'):
        faults.append(f'{name}: not in {theirs_path} at version {ours.get("version")}')
        continue
    for kind in ('request', 'event'):
        wire = lambda interface: [(m.get('name'), m.get('type'), [(a.get('type'), a.get('interface'))
                                  for a in m.iter('arg')]) for m in interface.iter(kind)]
        mine, debians = wire(ours), wire(their)
        if debians[:len(mine)] != mine:
            faults.append(f'{name}: its {kind}s {mine} are not the first of {debians}')
print('\n'.join(faults) or f'{ours_path}: the same wire as {theirs_path}')
sys.exit(1 if faults else 0)
