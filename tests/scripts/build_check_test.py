#!/usr/bin/env python3
"""Tests of the scripts that check a Windows build against an SDK folder: how scripts/check-build
and `scripts/windows-test --sdk` take their arguments (each refusal before any build starts, and
paths taken from the caller's folder), and scripts/sdk-standin-copy, the stand-in made to meet
the study as an installation's headers do."""

import os
import shutil
import subprocess
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SCRIPTS = os.path.join(ROOT, "scripts")


def run(script, args, cwd):
    done = subprocess.run([os.path.join(SCRIPTS, script)] + args, cwd=cwd, capture_output=True,
                          text=True, timeout=60, stdin=subprocess.DEVNULL)
    return done.returncode, done.stderr


class Arguments(unittest.TestCase):
    """Every case fails before the build: a folder without sierrachart.h, or a bad command."""

    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.cwd = os.path.realpath(self.dir.name)
        # A folder that exists only in the caller's folder, and holds no SDK.
        os.mkdir(os.path.join(self.cwd, "NoHeaders"))
        with open(os.path.join(self.cwd, "study.dll"), "wb") as f:
            f.write(b"MZ")

    def tearDown(self):
        self.dir.cleanup()

    def test_refusals(self):
        no_headers = f"no sierrachart.h in {self.cwd}/NoHeaders"
        cases = [
            # script, arguments, exit code, what stderr says
            ("check-build", [], 1, "usage: scripts/check-build [--dll DLL]"),
            ("check-build", ["--dll"], 1, "usage:"),
            ("check-build", ["a", "b", "c"], 1, "usage:"),
            ("check-build", ["--dll", "missing.dll", "NoHeaders"], 1, "no DLL missing.dll"),
            ("check-build", ["--dll", "study.dll"], 1, "usage:"),
            ("check-build", ["NotThere"], 1, "no folder NotThere"),
            # Relative paths are the caller's, not the repository's.
            ("check-build", ["NoHeaders"], 1, no_headers),
            ("check-build", ["--dll", "study.dll", "NoHeaders"], 1, no_headers),
            ("windows-test", ["--sdk"], 2, "usage: scripts/windows-test --sdk ACS_SOURCE"),
            ("windows-test", ["--sdk", "NoHeaders", "--dll"], 2, "usage:"),
            ("windows-test", ["--sdk", "NoHeaders", "--other", "x"], 2, "usage:"),
            ("windows-test", ["--sdk", "NoHeaders"], 1, no_headers),
            ("windows-test", ["--sdk", "NoHeaders", "--dll", "study.dll"], 1, no_headers),
            ("windows-test", ["--sdk", "NoHeaders", "--dll", "missing.dll"], 1, "no DLL"),
        ]
        for script, args, code, message in cases:
            with self.subTest(script=script, args=args):
                got_code, stderr = run(script, args, self.cwd)
                self.assertEqual(got_code, code, stderr)
                self.assertIn(message, stderr)
                if script == "check-build":
                    self.assertIn("check-build: FAIL: ", stderr)


class StandinCopy(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.dest = os.path.join(self.dir.name, "ACS_Source")

    def tearDown(self):
        self.dir.cleanup()

    def read(self, name):
        with open(os.path.join(self.dest, name), encoding="utf-8") as f:
            return f.read()

    def test_the_copy_meets_the_study_as_the_platforms_headers_do(self):
        os.makedirs(self.dest)
        with open(os.path.join(self.dest, "left-over.h"), "w", encoding="utf-8") as f:
            f.write("#error stale\n")
        code, stderr = run("sdk-standin-copy", [self.dest], self.dir.name)
        self.assertEqual(code, 0, stderr)
        standin = os.path.join(ROOT, "platform", "sdk-standin")
        self.assertEqual(sorted(os.listdir(self.dest)), sorted(os.listdir(standin)))
        entry = self.read("sierrachart.h")
        # Windows' macros reach the SDK's own declarations and everything after them.
        self.assertLess(entry.index("#include <windows.h>"), entry.index("#pragma pack(push, 8)"))
        self.assertEqual(entry.count("#include <windows.h>"), 1)
        types = self.read("sc_standin_types.h")
        self.assertIn("#define SC_DLL_VERSION 2784\n", types)
        self.assertNotIn("#define SC_DLL_VERSION 2911", types)

    def test_a_stand_in_the_edits_no_longer_fit_is_refused(self):
        # The script applied to a changed stand-in: a copy of it in a tree of its own.
        tree = os.path.join(self.dir.name, "repo")
        os.makedirs(os.path.join(tree, "scripts"))
        shutil.copy(os.path.join(SCRIPTS, "sdk-standin-copy"), os.path.join(tree, "scripts"))
        standin = os.path.join(tree, "platform", "sdk-standin")
        shutil.copytree(os.path.join(ROOT, "platform", "sdk-standin"), standin)
        for name, old, new in [
            ("sc_standin_types.h", "#define SC_DLL_VERSION 2911", "#define SC_DLL_VERSION 3000"),
            ("sierrachart.h", "#pragma pack(push, 8)", "#pragma pack(push,8)"),
        ]:
            with self.subTest(name=name):
                path = os.path.join(standin, name)
                with open(path, encoding="utf-8") as f:
                    original = f.read()
                with open(path, "w", encoding="utf-8") as f:
                    f.write(original.replace(old, new))
                done = subprocess.run([os.path.join(tree, "scripts", "sdk-standin-copy"),
                                       self.dest], capture_output=True, text=True, timeout=60)
                self.assertEqual(done.returncode, 1)
                self.assertIn("no longer applies", done.stderr)
                with open(path, "w", encoding="utf-8") as f:
                    f.write(original)


if __name__ == "__main__":
    unittest.main()
