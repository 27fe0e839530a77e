#!/usr/bin/env python3
"""The key under which clang-tidy's clean result for a file is remembered: the same for the same tree wherever the
clone is (before or after the system's headers in name order), different as soon as a header's content or the compile
command differs."""
import importlib.util
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
loader_spec = importlib.util.spec_from_file_location("tidy", os.path.join(here, "../../scripts/lib/tidy-cached.py"))
tidy = importlib.util.module_from_spec(loader_spec)
loader_spec.loader.exec_module(tidy)


def key(clone, header="h1", flags="-O2"):
    """The key of src/a/A.cpp in a clone at `clone`, with the contents given by their digests."""
    keys = tidy.Keys(clone, clone + "/build", "salt")
    keys.memo = {clone + "/src/a/A.cpp": "c1", clone + "/src/a/A.h": header, "/usr/include/stdio.h": "s1"}
    entry = {"file": clone + "/src/a/A.cpp", "command": f"c++ {flags} -I{clone}/src -c {clone}/src/a/A.cpp"}
    # Ninja's dependency log names the tree's files relative to the build folder, the system's absolutely.
    return keys.key(entry, ["../src/a/A.cpp", "../src/a/A.h", "/usr/include/stdio.h"])


failures = []
cases = [
    ("clones on either side of /usr", key("/tmp/one") == key("/var/two"), True),
    ("clones at paths of other lengths", key("/tmp/a") == key("/tmp/clone/longer"), True),
    ("a header changed", key("/tmp/one") == key("/tmp/one", header="h2"), False),
    ("a flag changed", key("/tmp/one") == key("/tmp/one", flags="-O2 -Werror"), False),
]
for name, same, expected in cases:
    if same != expected:
        failures.append(name)
        print(f"FAIL: {name}: keys {'equal' if same else 'different'}")
print(f"{len(cases) - len(failures)} of {len(cases)} passed")
sys.exit(1 if failures else 0)
