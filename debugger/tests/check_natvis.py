#!/usr/bin/env python3
"""Checks the natvis file: well-formed XML in the natvis namespace, and a view
(Type or AlternativeType) for exactly the classes the public headers export;
with --pdb, that the PDB of the DLL holds the file (llvm-pdbutil lists it
among the PDB's streams).

    check_natvis.py <file.natvis> <include/quarnbase> [--pdb <pdb> --pdbutil <tool>]
"""

import argparse
import glob
import os
import re
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

NAMESPACE = "{http://schemas.microsoft.com/vstudio/debugger/natvis/2010}"


def check_embedded(natvis, pdb, pdbutil):
    """Exits with a message unless the PDB `pdb` holds a stream of `natvis`."""
    if not shutil.which(pdbutil):
        sys.exit("check_natvis: %s not found; scripts/install-cross-tools.sh installs it" % pdbutil)
    streams = subprocess.run(
        [pdbutil, "dump", "--named-streams", pdb], capture_output=True, text=True, timeout=60
    )
    name = os.path.basename(natvis)
    stream = re.compile(r"^\s*/src/files/.*[\\/]%s$" % re.escape(name), re.M)
    if streams.returncode != 0 or not stream.search(streams.stdout):
        output = streams.stdout + streams.stderr
        sys.exit("check_natvis: %s does not hold %s:\n%s" % (pdb, name, output))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("natvis")
    parser.add_argument("headers")
    parser.add_argument("--pdb")
    parser.add_argument("--pdbutil", default="llvm-pdbutil")
    args = parser.parse_args()
    natvis, headers = args.natvis, args.headers
    try:
        root = ElementTree.parse(natvis).getroot()
    except ElementTree.ParseError as error:
        sys.exit("check_natvis: %s is not well-formed: %s" % (natvis, error))
    if root.tag != NAMESPACE + "AutoVisualizer":
        sys.exit("check_natvis: the root of %s is %s, not AutoVisualizer" % (natvis, root.tag))

    named = set()
    for kind in ("Type", "AlternativeType"):
        named.update(element.get("Name") for element in root.iter(NAMESPACE + kind))
    exported = set()
    for header in glob.glob(os.path.join(headers, "*.h")):
        with open(header, encoding="utf-8") as text:
            exported.update(re.findall(r"^class\s+QUARNBASE_EXPORT\s+(\w+)", text.read(), re.M))
    if not exported:
        sys.exit("check_natvis: found no exported class in %s" % headers)

    problems = ["no view of %s" % name for name in sorted(exported - named)]
    problems += ["a view of %s, which no header exports" % n for n in sorted(named - exported)]
    if problems:
        sys.exit("check_natvis: %s: %s" % (natvis, "; ".join(problems)))
    if args.pdb:
        check_embedded(natvis, args.pdb, args.pdbutil)
    print(
        "check_natvis: %s names all %d classes%s"
        % (natvis, len(exported), ", and %s holds it" % args.pdb if args.pdb else "")
    )


if __name__ == "__main__":
    main()
