"""End-to-end tests of the Windows programs, run under Wine from the build machine:
console events for real, a second writer of a model file, the reserved devices, the
agreement of the Windows and the Linux boxpaint on several hundred generated runs, and
boxpaint-check and boxpaint-view on the bundled example against their Linux builds.

Run as: test_windows.py WINDOWS_BUILD [LINUX_BUILD]
(the build folders that hold boxpaint.exe and boxpaint). Without LINUX_BUILD, a Linux
build of the same source tree is looked for: `build` beside the Windows build folder, then
`build` and `build-release` in the source tree. Without one, the comparisons are skipped.
WINE names the loader (default /usr/lib/wine/wine64).
"""

import os
import random
import signal
import subprocess
import sys
import tempfile
import time
import unittest

WINE = os.environ.get("WINE", "/usr/lib/wine/wine64")
WINDOWS_BUILD = ""
WINDOWS_EXE = ""
LINUX_BUILD = ""
LINUX_EXE = ""
SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
EXAMPLES = os.path.join(SOURCE, "examples")

# 400 x 400 x 200 cells: a model of 384 MB, long enough to be interrupted.
LARGE_MESH = "400 400 200\n0 0 0\n400*1\n400*1\n200*1\n"
LARGE_BLOCKS = "0\n1\n10 20 10 20 5 50 3.5\n"
RECORD = 12  # ten characters and CR LF


def is_linux_build(folder):
    """Whether folder is a build of this source tree that holds a Linux boxpaint."""
    program = os.path.join(folder, "boxpaint")
    try:
        with open(program, "rb") as f:
            if f.read(4) != b"\x7fELF" or not os.access(program, os.X_OK):
                return False
        with open(os.path.join(folder, "CMakeCache.txt"), encoding="utf-8") as f:
            for line in f:
                if line.startswith("CMAKE_HOME_DIRECTORY:INTERNAL="):
                    home = line.split("=", 1)[1].strip()
                    return os.path.realpath(home) == os.path.realpath(SOURCE)
    except OSError:
        pass
    return False


def linux_build_beside(windows_build):
    """The Linux build to compare with when none is given: the README builds it in
    `build`, beside the Windows build's `build-windows`."""
    candidates = [os.path.join(os.path.dirname(windows_build), "build"),
                  os.path.join(SOURCE, "build"), os.path.join(SOURCE, "build-release")]
    return next((folder for folder in candidates if is_linux_build(folder)), "")


def wine_environment(extra=None):
    environment = dict(os.environ, WINEDEBUG="-all")
    environment.update(extra or {})
    return environment


def start_wineserver():
    # One persistent server keeps each Wine process start at a fraction of a second.
    # The server and Wine's services outlive this driver, so they must not hold its
    # output (or that of whoever runs it) open.
    quiet = dict(env=wine_environment(), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                 stderr=subprocess.DEVNULL, check=False)
    subprocess.run([os.path.join(os.path.dirname(WINE), "wineserver"), "-p"], **quiet)
    subprocess.run([WINE, "wineboot", "--init"], **quiet)


def windows_path(path):
    """The name Wine gives a POSIX path: drive Z: is the root."""
    return "Z:" + path.replace("/", "\\")


def posix_text(text):
    """Diagnostic text with Wine's Z: paths written back as the POSIX paths they are."""
    out = []
    at = 0
    while True:
        found = text.find("Z:\\", at)
        if found < 0:
            out.append(text[at:])
            return "".join(out)
        out.append(text[at:found])
        end = found
        while end < len(text) and text[end] not in "\r\n":
            end += 1
        out.append(text[found + 2:end].replace("\\", "/"))
        at = end


class Run:
    def __init__(self, completed):
        self.status = completed.returncode
        self.stdout = completed.stdout
        self.stderr = completed.stderr

    def first_line(self):
        return self.stderr.split(b"\n", 1)[0]


def run_windows(arguments, cwd, environment=None, stdin=subprocess.DEVNULL):
    return Run(subprocess.run([WINE, WINDOWS_EXE, *arguments], cwd=cwd, capture_output=True,
                              env=wine_environment(environment), stdin=stdin, timeout=120))


def run_linux(arguments, cwd, environment=None):
    return Run(subprocess.run([LINUX_EXE, *arguments], cwd=cwd, capture_output=True,
                              env=dict(os.environ, **(environment or {})),
                              stdin=subprocess.DEVNULL, timeout=120))


class Folder(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory(prefix="boxpaint_windows_")
        self.dir = self.folder.name

    def tearDown(self):
        self.folder.cleanup()

    def path(self, name):
        return os.path.join(self.dir, name)

    def write(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data.encode() if isinstance(data, str) else data)

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    def start_large_run(self, model):
        """Starts a 32M-cell run and returns it once its model file is being written."""
        self.write("large.txt", LARGE_MESH)
        self.write("large.inp", LARGE_BLOCKS)
        process = subprocess.Popen([WINE, WINDOWS_EXE, "large.txt", "large.inp", model],
                                   cwd=self.dir, env=wine_environment(),
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        deadline = time.monotonic() + 60
        while time.monotonic() < deadline and process.poll() is None:
            if os.path.exists(self.path(model)) and os.path.getsize(self.path(model)) > 0:
                break
            time.sleep(0.002)
        return process


class ConsoleEventTest(Folder):
    def test_control_c_ends_a_large_run_with_200_status_0_and_whole_records(self):
        # Wine turns SIGINT into CTRL_C_EVENT for the process.
        process = self.start_large_run("model.txt")
        process.send_signal(signal.SIGINT)
        _, stderr = process.communicate(timeout=60)
        self.assertEqual(process.returncode, 0)
        self.assertEqual(stderr.split(b"\n", 1)[0].rstrip(b"\r"),
                         b"forrtl: error (200): program aborting due to control-C event")
        size = os.path.getsize(self.path("model.txt"))
        self.assertEqual(size % RECORD, 0)
        self.assertLessEqual(size, 32_000_000 * RECORD)
        with open(self.path("model.txt"), "rb") as f:
            head = f.read(RECORD * 1000)
        records = {head[i:i + RECORD] for i in range(0, len(head), RECORD)}
        self.assertLessEqual(records, {b" 0.000E+00\r\n", b" 3.500E+00\r\n"})


class SecondWriterTest(Folder):
    def test_a_second_run_on_a_model_being_written_gets_30_and_leaves_it_alone(self):
        first = self.start_large_run("model.txt")
        # Held still while its handle is open, so that the second run meets it for sure.
        first.send_signal(signal.SIGSTOP)
        try:
            self.write("mesh.txt", "1 1 1\n0 0 0\n1\n1\n1\n")
            self.write("blocks.inp", "7\n0\n")
            second = run_windows(["mesh.txt", "blocks.inp", "model.txt"], self.dir)
        finally:
            first.send_signal(signal.SIGCONT)
        first.communicate(timeout=60)
        self.assertEqual(second.status, 30)
        self.assertEqual(posix_text(second.first_line().decode()).rstrip("\r"),
                         "forrtl: severe (30): open failure, unit 2, file " + self.path("model.txt"))
        self.assertEqual(first.returncode, 0)
        self.assertEqual(os.path.getsize(self.path("model.txt")), 32_000_000 * RECORD)


class DeviceTest(Folder):
    def test_con_and_con_txt_write_the_model_to_standard_output_and_nul_discards_it(self):
        self.write("mesh.txt", "2 1 2\n0 0 0\n1 1\n1\n1 1\n")
        self.write("blocks.inp", "1.5\n1\n0 1 0 1 0 -1 -2.25\n")
        # The block covers the top cell of the first column, which comes first.
        expected = b"-2.250E+00\r\n" + b" 1.500E+00\r\n" * 3
        cases = {"CON": expected, "con.txt": expected, "NUL": b"", "nul.dat": b""}
        for name, stdout in cases.items():
            run = run_windows(["mesh.txt", "blocks.inp", name], self.dir)
            self.assertEqual((run.status, run.stdout, run.stderr), (0, stdout, b""), name)
            self.assertFalse(os.path.exists(self.path(name)), name)


# Generated runs for the agreement of the two builds.

NUMBERS = ["0", "1", "-1", "2.5", "+3", "-0", ".5", "5.", "1e3", "1E-3", "1.5d2", "1.5D+02",
           "-7.25e-1", "1e-320", "2.2250738585072014e-308", "1.7976931348623157e308",
           "1e400", "-1e400", "123456789012345678901234567890", "0.1", "0.30000000000000004",
           "9.9995", "9.9994999", "99999.5", "1e-5", "6.02214076e23", "3.14159265358979323846",
           "0000012", "1.e1", "1e+0", "  42  ", "4.9406564584124654e-324"]
BROKEN = ["abc", "1.2.3", "1e", "--1", "1;2", "T", "'x'", "(1,2)", "1+2", "0x10", "e5",
          "1e5000000000", "2147483648", "-2147483649", "1.5x", ".", "+", "*", "3*", "2*x"]
SEPARATORS = [" ", ",", " , ", "\t", "  ", ", "]


def mesh_text(rng, counts, origin, widths, separator=" ", end="\n"):
    lines = [separator.join(str(c) for c in counts),
             separator.join(origin)] + [separator.join(axis) for axis in widths]
    return end.join(lines) + end


def block_text(rng, background, blocks, separator=" ", end="\n"):
    lines = [background, str(len(blocks))]
    lines += [separator.join(block) for block in blocks]
    return end.join(lines) + end


def random_case(rng, kind):
    """One run: the files it reads, its arguments and its environment."""
    counts = [rng.randint(0, 4), rng.randint(0, 4), rng.randint(0, 4)]
    widths = [[rng.choice(["1", "2.5", "10", "0.5", "1e2"]) for _ in range(max(c, 0))]
              for c in counts]
    origin = [rng.choice(["0", "100", "-50.5", "1e3"]) for _ in range(3)]
    separator = rng.choice(SEPARATORS)
    end = rng.choice(["\n", "\r\n"])
    blocks = []
    for _ in range(rng.randint(0, 4)):
        bounds = [str(rng.uniform(-20, 120)) for _ in range(6)]
        blocks.append(bounds + [rng.choice(NUMBERS)])
    background = rng.choice(NUMBERS)
    environment = {}
    if kind == "syntax":
        # Repeat counts, nulls, slashes and comments after the values.
        style = rng.randrange(6)
        if style == 0:
            widths = [[f"{len(axis)}*{axis[0]}"] if axis else [] for axis in widths]
        elif style == 1:
            origin = ["0", ",", "5"]
        elif style == 2 and blocks:
            blocks[0] = blocks[0][:3] + ["/"]
        elif style == 3:
            widths = [axis + ["99", "! comment"] for axis in widths]
        elif style == 4:
            end = "\n\n" if rng.random() < 0.5 else " \r\n"
        else:
            separator = rng.choice([" ,, ", " 2*, ", "\t,\t"])
    elif kind == "numbers":
        origin = [rng.choice(NUMBERS) for _ in range(3)]
        background = rng.choice(NUMBERS)
    elif kind == "broken":
        where = rng.randrange(4)
        bad = rng.choice(BROKEN)
        if where == 0:
            counts_text = [str(c) for c in counts]
            counts_text[rng.randrange(3)] = bad
            mesh = separator.join(counts_text) + end + separator.join(origin) + end
            return {"mesh": mesh, "blocks": block_text(rng, background, blocks), "env": {}}
        if where == 1:
            origin[rng.randrange(3)] = bad
        elif where == 2:
            background = bad
        elif blocks:
            blocks[-1][rng.randrange(7)] = bad
        else:
            background = bad
    elif kind == "truncated":
        mesh = mesh_text(rng, counts, origin, widths, separator, end)
        cut = rng.randrange(len(mesh) + 1)
        text = block_text(rng, background, blocks, separator, end)
        if rng.random() < 0.5:
            return {"mesh": mesh[:cut], "blocks": text, "env": {}}
        return {"mesh": mesh, "blocks": text[:rng.randrange(len(text) + 1)], "env": {}}
    elif kind == "limits":
        counts = rng.choice([[2000, 2000, 2000], [65536, 65536, 1], [-1, 3, 2], [0, 0, 0],
                             [1, 1, 536870911], [3, -5, 2], [2147483647, 1, 1], [1, 1, 1]])
        widths = [["1"] * min(max(c, 0), 3) for c in counts]
    elif kind == "switches":
        environment = rng.choice([{"FOR_FMT_TERMINATOR": "LF"}, {"FOR_FMT_TERMINATOR": "cr"},
                                  {"FOR_FMT_TERMINATOR": "LF:2"}, {"FOR_DISABLE_STACK_TRACE": "1"},
                                  {"FOR_FMT_TERMINATOR": "CRLF;CR:1-2"}])
    return {"mesh": mesh_text(rng, counts, origin, widths, separator, end),
            "blocks": block_text(rng, background, blocks, separator, end), "env": environment}


FIXED_CASES = [
    # Arguments alone: usage, the sample, input files missing, model names refused.
    {"args": []}, {"args": ["-inp"]}, {"args": ["-input", "x"]}, {"args": ["a", "b"]},
    {"args": ["nothere.txt", "blocks.inp", "model.txt"]},
    {"args": ["mesh.txt", "nothere.inp", "model.txt"]},
    {"args": ["mesh.txt", "blocks.inp", "missing/model.txt"]},
    {"args": ["mesh.txt", "blocks.inp", "folder"]},
    {"args": ["mesh.txt", "blocks.inp", ""]},
    {"args": ["mesh.txt", "blocks.inp", "   "]},
    {"args": ["  mesh.txt  ", "blocks.inp", "model.txt"]},
    {"args": ["mesh.txt", "blocks.inp", "CON"]},
    {"args": ["mesh.txt", "blocks.inp", "con.txt"]},
    {"args": ["mesh.txt", "blocks.inp", "NUL"]},
    {"args": ["mesh.txt", "blocks.inp", "x" * 250]},
    {"args": ["folder", "blocks.inp", "model.txt"]},
]


class AgreementTest(Folder):
    """The same runs through both builds: the model's bytes, standard output, the status
    and the first diagnostic line (its Z: paths written back as POSIX paths) agree."""

    KINDS = {"syntax": 90, "numbers": 90, "broken": 90, "truncated": 60, "limits": 40,
             "switches": 30}

    # Runs of boxpaint.exe that ended with status 1 and said nothing, as Wine's process now
    # and then ends (about one run in several hundred, never the same one twice); each
    # is made again once, and counted.
    silent_ends = 0

    def result(self, runner, arguments, environment):
        for name in ("model.txt", "x" * 250):
            if os.path.exists(self.path(name)):
                os.remove(self.path(name))
        run = runner(arguments, self.dir, environment)
        model = self.read("model.txt") if os.path.exists(self.path("model.txt")) else None
        return (run.status, run.stdout, posix_text(run.first_line().decode()), model)

    def compare(self, label, arguments, environment=None):
        linux = self.result(run_linux, arguments, environment)
        windows = self.result(run_windows, arguments, environment)
        if windows[0] == 1 and windows[2] == "" and windows != linux:
            AgreementTest.silent_ends += 1
            windows = self.result(run_windows, arguments, environment)
        self.assertEqual(linux[0], windows[0], f"{label}: status; {linux[2]!r} {windows[2]!r}")
        self.assertEqual(linux[1], windows[1], f"{label}: standard output")
        self.assertEqual(linux[2], windows[2], f"{label}: first diagnostic line")
        self.assertEqual(linux[3], windows[3], f"{label}: model file")

    def test_both_builds_agree(self):
        if not LINUX_EXE:
            self.skipTest("no Linux build given")
        os.mkdir(self.path("folder"))
        self.write("mesh.txt", "2 2 2\n0 0 10\n2*1\n2*1\n2*5\n")
        self.write("blocks.inp", "0.5\n1\n0 1 0 1 10 5 7\n")
        compared = 0
        for number, case in enumerate(FIXED_CASES):
            with self.subTest(case=number):
                self.compare(f"fixed {number} {case['args']}", case["args"])
                compared += 1
        rng = random.Random(18)
        for kind, count in self.KINDS.items():
            for number in range(count):
                case = random_case(rng, kind)
                self.write("mesh.txt", case["mesh"])
                self.write("blocks.inp", case["blocks"])
                with self.subTest(kind=kind, case=number):
                    self.compare(f"{kind} {number}: {case!r}",
                                 ["mesh.txt", "blocks.inp", "model.txt"], case["env"])
                    compared += 1
        print(f"\n{compared} runs compared; {AgreementTest.silent_ends} silent ends of Wine's"
              " made again", file=sys.stderr)


class CompanionTest(Folder):
    """boxpaint-check and boxpaint-view (.vtr) on the bundled example, as on Linux."""

    def run_both(self, program, arguments):
        windows = subprocess.run([WINE, os.path.join(WINDOWS_BUILD, program + ".exe"), *arguments],
                                 cwd=self.dir, capture_output=True, env=wine_environment(),
                                 stdin=subprocess.DEVNULL, timeout=120)
        linux = subprocess.run([os.path.join(LINUX_BUILD, program), *arguments], cwd=self.dir,
                               capture_output=True, stdin=subprocess.DEVNULL, timeout=120)
        return windows, linux

    def test_check_and_view_write_what_they_write_on_linux(self):
        if not LINUX_BUILD:
            self.skipTest("no Linux build given")
        for program in ("boxpaint-check", "boxpaint-view"):
            if not os.path.isfile(os.path.join(LINUX_BUILD, program)):
                self.skipTest(f"the Linux build {LINUX_BUILD} has no {program}")
        for name in ("mesh.txt", "blocks.inp"):
            with open(os.path.join(EXAMPLES, name), "rb") as f:
                self.write(name, f.read())
        self.assertEqual(run_windows(["mesh.txt", "blocks.inp", "model.txt"], self.dir).status, 0)
        windows, linux = self.run_both("boxpaint-check", ["mesh.txt", "blocks.inp"])
        self.assertEqual((windows.returncode, windows.stderr), (0, b""))
        self.assertEqual(windows.stdout, linux.stdout)
        windows, _ = self.run_both("boxpaint-view", ["mesh.txt", "model.txt", "model.vtr"])
        self.assertEqual((windows.returncode, windows.stderr), (0, b""))
        grid = self.read("model.vtr")
        os.remove(self.path("model.vtr"))
        _, linux = self.run_both("boxpaint-view", ["mesh.txt", "model.txt", "model.vtr"])
        self.assertEqual(linux.returncode, 0)
        self.assertEqual(grid, self.read("model.vtr"))
        windows, _ = self.run_both("boxpaint-view",
                                   ["mesh.txt", "model.txt", "slice.png", "--slice", "n@575"])
        self.assertEqual((windows.returncode, windows.stderr), (0, b""))
        self.assertEqual(self.read("slice.png")[:8], b"\x89PNG\r\n\x1a\n")
        windows, _ = self.run_both("boxpaint-view",
                                   ["mesh.txt", "model.txt", "slice.svg", "--slice", "n@575"])
        self.assertEqual(windows.returncode, 2)
        self.assertIn(b"writes .png only", windows.stderr)


class ViewPathTest(Folder):
    """boxpaint-view.exe's outputs named with backslashes, dots and drive letters, and its
    labels in UTF-8."""

    def setUp(self):
        super().setUp()
        for name in ("mesh.txt", "blocks.inp"):
            with open(os.path.join(EXAMPLES, name), "rb") as f:
                self.write(name, f.read())
        self.assertEqual(run_windows(["mesh.txt", "blocks.inp", "model.txt"], self.dir).status, 0)

    def view(self, arguments, cwd):
        return subprocess.run([WINE, os.path.join(WINDOWS_BUILD, "boxpaint-view.exe"), *arguments],
                              cwd=cwd, capture_output=True, env=wine_environment(),
                              stdin=subprocess.DEVNULL, timeout=120)

    def test_outputs_with_backslashes_and_drive_letters_land_where_they_are_named(self):
        for folder in ("work/sub", "work/out", "try"):
            os.makedirs(self.path(folder))
        cases = (("sub\\a.png", "work/sub/a.png"), (".\\sub\\n.png", "work/sub/n.png"),
                 ("sub\\f.vtr", "work/sub/f.vtr"), ("..\\try\\l.png", "try/l.png"),
                 (windows_path(self.path("work/out/c.png")), "work/out/c.png"),
                 ("Z:d.png", "work/d.png"))
        for output, landed in cases:
            picture = ["--slice", "z=1"] if output.endswith(".png") else []
            run = self.view(["..\\mesh.txt", "..\\model.txt", output, *picture],
                            self.path("work"))
            self.assertEqual((run.returncode, run.stderr), (0, b""), output)
            self.assertTrue(os.path.getsize(self.path(landed)) > 0, output)
        found = sorted(os.path.relpath(os.path.join(top, name), self.dir)
                       for top, _, names in os.walk(self.dir) for name in names)
        self.assertEqual(found, sorted(["mesh.txt", "blocks.inp", "model.txt"] +
                                       [landed for _, landed in cases]))  # no temporary left

    def test_a_label_in_utf8_is_drawn_letter_for_letter(self):
        # Read in the ANSI code page, "\u03a9\u00b7m" became "O?m" in the picture.
        pictures = []
        for label in ("resistivity (\u03a9\u00b7m)", "resistivity (O?m)"):
            run = self.view(["mesh.txt", "model.txt", "label.png", "--slice", "n@575",
                             "--label", label], self.dir)
            self.assertEqual((run.returncode, run.stderr), (0, b""), label)
            pictures.append(self.read("label.png"))
        self.assertNotEqual(pictures[0], pictures[1])


if __name__ == "__main__":
    WINDOWS_BUILD = os.path.abspath(sys.argv[1])
    WINDOWS_EXE = os.path.join(WINDOWS_BUILD, "boxpaint.exe")
    if len(sys.argv) > 2:
        LINUX_BUILD = os.path.abspath(sys.argv[2])
    else:
        LINUX_BUILD = linux_build_beside(WINDOWS_BUILD)
    if LINUX_BUILD:
        LINUX_EXE = os.path.join(LINUX_BUILD, "boxpaint")
        print(f"compared with the Linux build in {LINUX_BUILD}", file=sys.stderr)
    else:
        print("no Linux build found (give one as BOXPAINT_LINUX_BUILD): the comparisons"
              " are skipped", file=sys.stderr)
    start_wineserver()
    unittest.main(argv=sys.argv[:1], verbosity=2)
