#!/usr/bin/env python3
"""Tests of scripts/single-source (the one-file build for the platform's builder) and of
scripts/check-portable, on small source trees made for each case."""

import importlib.machinery
import importlib.util
import os
import tempfile
import textwrap
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SCRIPTS = os.path.join(ROOT, "scripts")


def load(name):
    path = os.path.join(SCRIPTS, name)
    loader = importlib.machinery.SourceFileLoader(name.replace("-", "_"), path)
    spec = importlib.util.spec_from_loader(loader.name, loader)
    module = importlib.util.module_from_spec(spec)
    loader.exec_module(module)
    return module


gen = load("single-source")
portable = load("check-portable")
local_names = load("check-local-names")

RAPIDJSON_H = """\
#ifndef RAPIDJSON_RAPIDJSON_H_
#define RAPIDJSON_RAPIDJSON_H_
#define RAPIDJSON_MAJOR_VERSION 1
#define RAPIDJSON_MINOR_VERSION 1
#define RAPIDJSON_PATCH_VERSION 0
#include <cstring>
#if defined(_MSC_VER) && (_MSC_VER < 1800)
#include "msinttypes/stdint.h"
#endif
#if defined(__GLIBC__)
#include <endian.h>
#endif
#endif
"""
DOCUMENT_H = """\
#ifndef RAPIDJSON_DOCUMENT_H_
#define RAPIDJSON_DOCUMENT_H_
/*! \\code
    #include "rapidjson/nothere.h"
    \\endcode */
#include "rapidjson.h"
#include "internal/meta.h"
int rapidjson_document;
#endif
"""
META_H = """\
#ifndef RAPIDJSON_META_H_
#define RAPIDJSON_META_H_
#include "../rapidjson.h"
int rapidjson_meta;
#endif
"""


class Tree:
    """A product tree in a temporary folder: CMakeLists.txt, the six source folders, RapidJSON."""

    def __init__(self, files, rapidjson_files=None):
        self.dir = tempfile.TemporaryDirectory()
        self.root = os.path.join(self.dir.name, "repo")
        self.rapidjson = os.path.join(self.dir.name, "include")
        base = {
            "CMakeLists.txt": 'set(OSTREL_SERVICE_HOST "svc.example" CACHE STRING "host")\n',
            "host/h.cpp": "int host_unit;\n",
            "model/m.cpp": "int model_unit;\n",
            "render/r.cpp": "int render_unit;\n",
            "service/s.cpp": "int service_unit;\n",
            "study/st.cpp": "int study_unit;\n",
            "platform/p.cpp": "int platform_unit;\n",
        }
        base.update(files)
        for name, text in base.items():
            self.write(os.path.join(self.root, name), text)
        for name, text in (("rapidjson.h", RAPIDJSON_H), ("document.h", DOCUMENT_H),
                           ("internal/meta.h", META_H), ("msinttypes/stdint.h", "int old_msvc;\n"),
                           *(rapidjson_files or {}).items()):
            self.write(os.path.join(self.rapidjson, "rapidjson", name), text)

    @staticmethod
    def write(path, text):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as f:
            f.write(textwrap.dedent(text))

    def generate(self):
        return gen.generate(self.root, self.rapidjson)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.dir.cleanup()


def body_lines(text):
    """The generated lines after the fixed header, without the file banners and blank lines."""
    lines = text.split("\n")
    start = lines.index("#endif", lines.index('#include "sierrachart.h"')) + 1
    return [l for l in lines[start:] if l and not l.startswith("// ---- ")]


class Directives(unittest.TestCase):
    def test_only_directives_outside_comments_and_literals_count(self):
        cases = [
            ("#include <a>", "#include <a>"),
            ("  #  include \"b.h\"", "#  include \"b.h\""),
            ("// #include <c>", None),
            ("/* #include <d> */", None),
            ('const char* s = "/*"; #x', None),
        ]
        for line, expected in cases:
            with self.subTest(line=line):
                self.assertEqual([d for _, d, _ in gen.directives(line)], [expected])

    def test_block_comments_and_literals_are_followed_across_lines(self):
        text = "\n".join([
            "/* start",
            "#include <inside>",
            "end */ #include <after_comment_on_same_line>",
            'const char* s = "/* not a comment";',
            "#include <real>",
            "int big = 1'000'000; // '",
            "#include <after_separator>",
            'auto r = R"x(/* raw )x";',
            "#include <after_raw>",
        ])
        found = [d for _, d, _ in gen.directives(text) if d is not None]
        self.assertEqual(found, ["#include <real>", "#include <after_separator>",
                                 "#include <after_raw>"])

    def test_code_drops_comments_and_keeps_literals(self):
        _, _, code = next(gen.directives('f("a // b"); /* c */ g(); // d'))
        self.assertEqual(code.split(), ['f("a', "//", 'b");', "g();"])


class Generate(unittest.TestCase):
    def test_each_header_is_copied_once_at_its_first_include(self):
        files = {
            "host/shared.h": "#pragma once\nint shared_header;\n",
            "host/a.cpp": '#include "host/shared.h"\nint a_unit;\n',
            "model/b.cpp": '#include "host/shared.h"\nint b_unit;\n',
        }
        with Tree(files) as tree:
            text, copied = tree.generate()
        lines = body_lines(text)
        self.assertEqual(lines.count("int shared_header;"), 1)
        self.assertLess(lines.index("int shared_header;"), lines.index("int a_unit;"))
        self.assertNotIn("#pragma once", text)
        self.assertEqual(copied[:3], ["host/a.cpp", "host/shared.h", "host/h.cpp"])

    def test_sources_follow_the_layers_and_leave_out_the_other_entries(self):
        files = {"study/exports.cpp": "int direct_entry;\n",
                 "service/https_transport_curl.cpp": "int curl_client;\n",
                 "service/https_transport_winhttp.cpp": "int winhttp_client;\n"}
        with Tree(files) as tree:
            text, copied = tree.generate()
        self.assertEqual(copied, ["host/h.cpp", "model/m.cpp", "render/r.cpp",
                                  "service/https_transport_winhttp.cpp", "service/s.cpp",
                                  "study/st.cpp", "platform/p.cpp"])
        self.assertNotIn("direct_entry", text)
        self.assertNotIn("curl_client", text)

    def test_the_sdk_comes_first_from_the_files_own_folder(self):
        files = {"platform/p.cpp": "#include <sierrachart.h>\nint platform_unit;\n"}
        with Tree(files) as tree:
            text, _ = tree.generate()
        lines = text.split("\n")
        first_include = next(l for l in lines if l.startswith("#include"))
        self.assertEqual(first_include, '#include "sierrachart.h"')
        self.assertLess(lines.index("#define NOMINMAX"), lines.index(first_include))
        self.assertIn('#define OSTREL_SERVICE_HOST "svc.example"', lines)
        self.assertIn("#define RAPIDJSON_HAS_STDSTRING 0", lines)
        self.assertNotIn("#include <sierrachart.h>", text)

    def test_rapidjson_is_copied_once_inside_one_quiet_region(self):
        files = {"model/m.cpp": "#include <rapidjson/document.h>\n"
                                "#include <rapidjson/rapidjson.h>\nint model_unit;\n"}
        with Tree(files) as tree:
            text, copied = tree.generate()
        self.assertEqual([c for c in copied if c.startswith("rapidjson/")],
                         ["rapidjson/document.h", "rapidjson/rapidjson.h",
                          "rapidjson/internal/meta.h"])
        self.assertEqual(text.count("#pragma GCC diagnostic push"), 1)
        self.assertEqual(text.count("#pragma GCC diagnostic pop"), 1)
        self.assertLess(text.index("int rapidjson_meta;"), text.index("#pragma GCC diagnostic pop"))
        self.assertIn("Holds RapidJSON 1.1.0", text)
        # Branches that no C++17 compiler for Windows reaches:
        self.assertIn('#error "rapidjson/msinttypes/stdint.h: only for Visual C++ 2013 or older',
                      text)
        self.assertNotIn("int old_msvc;", text)
        self.assertIn("#include <endian.h>", text)
        # An #include in RapidJSON's documentation stays a comment.
        self.assertIn('#include "rapidjson/nothere.h"', text)

    def test_what_the_builder_cannot_provide_stops_the_generator(self):
        cases = [
            ({"host/h.cpp": "#include <curl/curl.h>\n"}, "host/h.cpp: <curl/curl.h> is neither"),
            ({"host/h.cpp": '#include "host/missing.h"\n'},
             'host/h.cpp: cannot find "host/missing.h"'),
            ({"host/h.cpp": '#if X\n#include "host/x.h"\n#endif\n', "host/x.h": "int x;\n"},
             'host/h.cpp: #include "host/x.h" inside #if'),
            ({"host/h.cpp": "#include <rapidjson/writer.h>\n"}, "cannot find <rapidjson/writer.h>"),
            ({"CMakeLists.txt": "project(x)\n"},
             "CMakeLists.txt sets no default for OSTREL_SERVICE_HOST"),
        ]
        # Behind its include guard, a RapidJSON header's own includes are not behind a test.
        guarded = {"extra.h": "#ifndef EXTRA_H_\n#define EXTRA_H_\n#include <pthread.h>\n#endif\n"}
        cases.append(({"host/h.cpp": "#include <rapidjson/extra.h>\n"},
                      "rapidjson/extra.h: <pthread.h> is neither"))
        for files, message in cases:
            with self.subTest(message=message), Tree(files, guarded) as tree:
                with self.assertRaises(gen.GenerateError) as raised:
                    tree.generate()
                self.assertIn(message, str(raised.exception))

    def test_platform_tests_around_system_headers_pass_through(self):
        files = {"host/h.cpp": "#if defined(_WIN32)\n#include <windows.h>\n"
                               "#else\n#include <sys/mman.h>\n#endif\n"}
        with Tree(files) as tree:
            text, _ = tree.generate()
        self.assertIn("#include <windows.h>", text)
        self.assertIn("#include <sys/mman.h>", text)

    def test_the_text_depends_on_the_sources_only(self):
        files = {"host/h.cpp": '#include "host/a.h"\n', "host/a.h": "#pragma once\nint a;\n",
                 "model/m.cpp": "#include <rapidjson/document.h>\n"}
        with Tree(files) as tree:
            first, _ = tree.generate()
            cwd = os.getcwd()
            try:
                os.chdir(tree.rapidjson)
                second, _ = tree.generate()
            finally:
                os.chdir(cwd)
            self.assertEqual(first, second)
            self.assertNotIn(tree.dir.name, first)


class Portable(unittest.TestCase):
    def findings(self, text):
        return [what for _, what in portable.findings("x.h", textwrap.dedent(text), gen)]

    def test_extensions_are_found(self):
        cases = [
            ("int f(int x) { return __builtin_expect(x, 1); }", "compiler builtin"),
            ("void log(const char*, ...) __attribute__((format(printf, 1, 2)));", "GCC attribute"),
            ("P p = {.a = 1, .b = 2};", "designated initialiser"),
            ("int y = ({ int t = 1; t; });", "statement expression"),
            ("int* q = p ?: r;", "conditional with omitted operand"),
            ("#pragma GCC diagnostic ignored \"-Wconversion\"", "GCC or Clang pragma"),
            ("typeof(x) y = x;", "typeof"),
            ("unsigned __int128 wide;", "128-bit integer"),
            ("case 1 ... 5:", "case range"),
        ]
        for code, what in cases:
            with self.subTest(code=code):
                self.assertEqual(self.findings(code), [what])

    def test_standard_code_and_text_are_not_findings(self):
        cases = [
            "f({1, 2});",
            "auto g = [] { return 1; };",
            'const char* s = "__attribute__ ({ x; })";',
            "// __builtin_expect in a comment",
            "/* #pragma GCC in a comment */",
            "int z = c ? a : b;",
            "P p{1, 2};",
        ]
        for code in cases:
            with self.subTest(code=code):
                self.assertEqual(self.findings(code), [])

    def test_branches_that_visual_cpp_never_compiles_are_left_alone(self):
        cases = [
            ("#if defined(__GNUC__) || defined(__clang__)\n__attribute__((cold)) void f();\n"
             "#endif", []),
            ("#if defined(_WIN32)\n#define E __declspec(dllexport)\n#else\n"
             "#define E __attribute__((visibility(\"default\")))\n#endif", []),
            ("#ifndef _WIN32\nint x = __builtin_ctz(4);\n#endif", []),
            ("#ifdef __clang__\n#pragma clang diagnostic push\n#endif", []),
            ("#if !defined(__GNUC__)\nint x = __builtin_ctz(4);\n#endif", ["compiler builtin"]),
            ("#if defined(_WIN32)\nint x = __builtin_ctz(4);\n#endif", ["compiler builtin"]),
            ("#if defined(__GNUC__) || defined(_MSC_VER)\nint x = __builtin_ctz(4);\n#endif",
             ["compiler builtin"]),
            ("#if defined(__GNUC__)\n#else\nint x = __builtin_ctz(4);\n#endif",
             ["compiler builtin"]),
        ]
        for code, expected in cases:
            with self.subTest(code=code):
                self.assertEqual(self.findings(code), expected)


class LocalNames(unittest.TestCase):
    def collisions(self, files):
        texts = [(name, textwrap.dedent(text)) for name, text in files.items()]
        return [(name, a, b) for name, a, b in local_names.collisions(texts, gen)]

    def test_file_local_names_that_would_meet(self):
        cases = [
            ("the same helper in two files",
             {"a.cpp": "namespace n {\nnamespace {\nint helper(int x) { return x; }\n}\n}\n",
              "b.cpp": "namespace n {\nnamespace {\ndouble helper(double x) { return x; }\n}\n}\n"},
             [("helper", "a.cpp", "b.cpp")]),
            ("a constant against a header's, in an enclosing namespace",
             {"a.h": "namespace n {\nconstexpr long kDay = 86400;\n}\n",
              "b.cpp": "namespace n::inner {\nnamespace {\nconstexpr long kDay = 1;\n}\n}\n"},
             [("kDay", "a.h", "b.cpp")]),
            ("a static function against another file's type",
             {"a.cpp": "static void Thing() {}\n", "b.h": "struct Thing { int x; };\n"},
             [("Thing", "a.cpp", "b.h")]),
            ("an array and an alias",
             {"a.cpp": "namespace {\nconst int kTable[3] = {1, 2, 3};\nusing Row = int;\n}\n",
              "b.cpp": "namespace {\nint kTable[4];\nusing Row = long;\n}\n"},
             [("Row", "a.cpp", "b.cpp"), ("kTable", "a.cpp", "b.cpp")]),
        ]
        for what, files, expected in cases:
            with self.subTest(what):
                self.assertEqual(self.collisions(files), expected)

    def test_names_that_never_meet(self):
        cases = [
            ("namespaces side by side",
             {"a.cpp": "namespace n::x {\nnamespace {\nvoid log() {}\n}\n}\n",
              "b.h": "namespace n::y {\ninline void log() {}\n}\n"}),
            ("a header and the file that defines it",
             {"a.h": "namespace n {\nint f();\n}\n",
              "a.cpp": "namespace n {\nnamespace {\nint f() { return 1; }\n}\n}\n"}),
            ("a member defined outside its class",
             {"a.cpp": "namespace n {\nint Box::size() const { return 1; }\n}\n",
              "b.cpp": "namespace n {\nnamespace {\nint size() { return 2; }\n}\n}\n"}),
            ("a name used, not declared, in an initialiser",
             {"a.cpp": "namespace {\nconstexpr long kEnd = unitsToTime(150);\n}\n",
              "b.h": "constexpr long unitsToTime(int u) { return u; }\n"}),
            ("names inside bodies, classes and comments",
             {"a.cpp": "namespace {\nstruct S {\n  int helper;\n};\n"
                       "void f() {\n  int helper = 1;\n}\n// int helper;\n}\n",
              "b.cpp": "namespace {\nint helper;\n}\n"}),
            ("two external names, which the linker already keeps apart",
             {"a.cpp": "namespace n {\nint shared = 1;\n}\n",
              "b.cpp": "namespace n {\nint shared = 2;\n}\n"}),
        ]
        for what, files in cases:
            with self.subTest(what):
                self.assertEqual(self.collisions(files), [])


if __name__ == "__main__":
    unittest.main()
