#!/usr/bin/env python3
"""Checks the natvis file: well-formed XML in the natvis namespace, and a view
(Type or AlternativeType) for exactly the classes the public headers export.

    check_natvis.py <file.natvis> <include/quarnbase>
"""

import glob
import os
import re
import sys
import xml.etree.ElementTree as ElementTree

NAMESPACE = "{http://schemas.microsoft.com/vstudio/debugger/natvis/2010}"


def main():
    natvis, headers = sys.argv[1], sys.argv[2]
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
    problems += ["a view of %s, which no header exports" % name for name in sorted(named - exported)]
    if problems:
        sys.exit("check_natvis: %s: %s" % (natvis, "; ".join(problems)))
    print("check_natvis: %s names all %d classes" % (natvis, len(exported)))


if __name__ == "__main__":
    main()
