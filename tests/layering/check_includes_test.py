#!/usr/bin/env python3
"""scripts/check_includes.py on small trees of its own: what it lets pass and what it names."""
import contextlib
import io
import os
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True  # nothing left in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "scripts"))
import check_includes  # noqa: E402

RULES = """\
search lower/include
lower  lower       :
upper  upper       : lower
                     +side/open.h
side   side        :
inner  upper/inner : upper
"""


class CheckIncludesTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.root = self.dir.name
        self.write("include_rules.txt", RULES)
        self.write("lower/a.h", "#pragma once\n")
        self.write("lower/include/bare.h", "#pragma once\n")
        self.write("side/open.h", "#pragma once\n")
        # A neighbour, the system's, a generated header, one from the search folder, one allowed
        # by name, and one of its own folder by its short name.
        self.write("upper/u.h", "#pragma once\n")
        self.write("upper/u.cpp", '#include "upper/u.h"\n#include "lower/a.h"\n#include <vector>\n'
                   '#include "upper/generated.h"\n#include "bare.h"\n#include "side/open.h"\n'
                   '  #  include "u.h"\n')
        # The inner folder is a room of its own, below the upper one.
        self.write("upper/inner/i.cpp", '#include "upper/u.h"\n')

    def tearDown(self):
        self.dir.cleanup()

    def write(self, path, text):
        full = os.path.join(self.root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w", encoding="utf-8") as f:
            f.write(text)

    def test_names_the_file_the_line_the_header_and_the_rule(self):
        self.assertEqual(check_includes.check(self.root), [])
        self.write("lower/b.cpp", '#include "lower/a.h"\n#include "upper/u.h"\n')
        # Allowed in the upper room, but not in the inner one that holds the file.
        self.write("upper/inner/j.cpp", '#include <lower/a.h>\n')
        self.assertEqual(check_includes.check(self.root), [
            'lower/b.cpp:2: includes "upper/u.h" of room upper, which room lower may not include '
            "(include_rules.txt:2: lower may include nothing)",
            'upper/inner/j.cpp:1: includes "lower/a.h" of room lower, which room inner may not '
            "include (include_rules.txt:6: inner may include upper)",
        ])
        printed = io.StringIO()
        with contextlib.redirect_stdout(printed):
            self.assertEqual(check_includes.main(["check_includes", self.root]), 1)
        self.assertTrue(printed.getvalue().endswith("2 include(s) cross the walls of "
                                                    "include_rules.txt\n"))

    def test_a_rule_for_what_is_gone_fails(self):
        os.rename(os.path.join(self.root, "side"), os.path.join(self.root, "aside"))
        self.assertEqual(check_includes.check(self.root), [
            "include_rules.txt:3: +side/open.h is not in the tree",
            "include_rules.txt:5: side is not in the tree",
        ])
        self.write("include_rules.txt", RULES + "outer outer : nowhere\n")
        self.assertIn("include_rules.txt:7: outer may include nowhere, which is no room",
                      check_includes.check(self.root))


if __name__ == "__main__":
    unittest.main()
