"""End-to-end tests of boxpaint-check: small mesh and block files whose answers are worked
out by hand below, and one comparison with the model boxpaint itself paints.

Run as: test_check.py BOXPAINT BOXPAINT_CHECK
"""

import json
import os
import random
import signal
import subprocess
import sys
import tempfile
import time
import unittest

BOXPAINT = ""
CHECK = ""

# Unequal widths on every axis, so that a swapped axis or a wrong cell size shows.
MESH = """3 2 2            ! cells along easting, northing, elevation
0. 0. 100.       ! origin; elevation is the top
10. 20. 30.      ! easting nodes 0 10 30 60
5. 15.           ! northing nodes 0 5 20
10. 20.          ! elevation nodes 100 90 70
"""


class CheckTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.dir = self.folder.name
        self.mesh = self.write("mesh.txt", MESH)

    def tearDown(self):
        self.folder.cleanup()

    def path(self, name):
        return os.path.join(self.dir, name)

    def write(self, name, text):
        with open(self.path(name), "w", newline="") as f:
            f.write(text)
        return self.path(name)

    def check(self, *arguments):
        return subprocess.run([CHECK, *arguments], capture_output=True, text=True, cwd=self.dir)

    def check_json(self, blocks_text, mesh=None):
        blocks = self.write("blocks.inp", blocks_text)
        run = self.check(mesh or self.mesh, blocks, "--json")
        self.assertEqual((run.returncode, run.stderr), (0, ""))
        return json.loads(run.stdout)

    # What the report holds

    def test_report_gives_the_mesh_the_cells_of_each_block_and_what_stays_visible(self):
        # Block 1: easting 10..60 is nodes 2..4, cells 2-3; northing 0..20 cells 1-2;
        # elevation 100..90 cell 1: 4 cells. Block 2, every pair reversed: easting 0..30
        # cells 1-2, northing 0..5 cell 1, elevation 100..70 cells 1-2: 4 cells, one of
        # them (2, 1, 1) over block 1. 12 - 7 cells keep the background.
        report = self.check_json("-1.5\n2\n10. 60.  0. 20.  100. 90.  7\n"
                                 "30. 0.  5. 0.  70. 100.  8\n")
        self.assertEqual(report["mesh"], {
            "cells": {"easting": 3, "northing": 2, "elevation": 2},
            "total_cells": 12,
            "origin": {"easting": 0, "northing": 0, "elevation": 100},
            "extent": {"easting": [0, 60], "northing": [0, 20], "elevation": [100, 70]},
            "smallest_cell": {"easting": 10, "northing": 5, "elevation": 10},
            "largest_cell": {"easting": 30, "northing": 15, "elevation": 20},
        })
        self.assertEqual(report["background"], -1.5)
        self.assertEqual(report["background_cells"], 5)
        self.assertEqual(report["warnings"], [])
        self.assertEqual(report["blocks"], [
            {"block": 1, "line": 3, "last_line": 3, "value": 7, "bounds": [10, 60, 0, 20, 100, 90],
             "cells": {"easting": [2, 3], "northing": [1, 2], "elevation": [1, 1]},
             "painted": 4, "visible": 3, "warnings": []},
            {"block": 2, "line": 4, "last_line": 4, "value": 8, "bounds": [30, 0, 5, 0, 70, 100],
             "cells": {"easting": [1, 2], "northing": [1, 1], "elevation": [1, 2]},
             "painted": 4, "visible": 4, "warnings": []},
        ])

    def test_text_report_shows_the_same_for_a_terminal(self):
        blocks = self.write("blocks.inp", "-1.5\n2\n10. 60.  0. 20.  100. 90.  7\n"
                                          "30. 0.  5. 0.  70. 100.  8\n")
        run = self.check("mesh.txt", blocks)
        self.assertEqual((run.returncode, run.stderr), (0, ""))
        lines = [" ".join(line.split()) for line in run.stdout.splitlines()]
        for expected in [
            "Mesh mesh.txt: 3 x 2 x 2 = 12 cells (easting x northing x elevation)",
            "easting 3 cells from 0 to 60; smallest cell 10, largest 30",
            "elevation 2 cells from 100 (top) to 70 (bottom); thinnest cell 10, thickest 20",
            "block line value e1 e2 n1 n2 z1 z2 easting northing elevation painted visible",
            "1 3 7 10 60 0 20 100 90 2-3 1-2 1-1 4 3",
            "2 4 8 30 0 5 0 70 100 1-2 1-1 1-2 4 4",
            "Background: 5 of 12 cells keep the background value -1.5",
            "No warnings",
        ]:
            self.assertIn(expected, lines)

    def test_fields_a_block_leaves_unread_carry_the_previous_block_as_ordered(self):
        # Block 1 is ordered to northing 0 20, elevation 90 70; block 2 reads four nulls
        # and the value, block 3 stops at a slash and keeps block 2's value as well.
        report = self.check_json("0\n3\n10. 30.  20. 0.  70. 90.  1\n0. 10.  4* 2\n30. 60. /\n")
        blocks = report["blocks"]
        self.assertEqual([b["bounds"] for b in blocks],
                         [[10, 30, 20, 0, 70, 90], [0, 10, 0, 20, 90, 70],
                          [30, 60, 0, 20, 90, 70]])
        self.assertEqual([b["value"] for b in blocks], [1, 2, 2])
        self.assertEqual(blocks[1]["cells"],
                         {"easting": [1, 1], "northing": [1, 2], "elevation": [2, 2]})

    def test_numbers_are_exact_and_nan_and_infinities_are_strings(self):
        report = self.check_json("1e300\n1\n-Infinity 0.1  0. 5.  100. 90.  NaN\n")
        self.assertEqual(report["background"], 1e300)
        block = report["blocks"][0]
        self.assertEqual(block["value"], "NaN")
        self.assertEqual(block["bounds"], ["-Infinity", 0.1, 0, 5, 100, 90])
        # 0.1 snaps to node 1: nothing lies between; -Infinity snaps to no node.
        self.assertIsNone(block["cells"])

    # Warnings

    def test_each_warning_for_the_block_that_earns_it(self):
        blocks = "\n".join([
            "0", "6",
            "12. 14.  0. 20.  100. 70.  1",      # thinner than a cell
            "60. 80.  0. 20.  100. 70.  2",      # beside the mesh
            "0. 60.  0. 20.  250. 130.  3",      # depths typed as elevations
            "0. 10.  0. 5.  100. 90.  4",        # under block 6 entirely
            "-5. 75.  0. 20.  100. 60.  5",      # moves exactly half a cell at three ends
            "-5.25 75.5  0. 5.  100. 59.5  6",   # moves just more than half a cell there
        ]) + "\n"
        report = self.check_json(blocks)
        warnings = [b["warnings"] for b in report["blocks"]]
        self.assertEqual(warnings[0], ["paints nothing: easting 12 to 14 snaps to 10 to 10"])
        self.assertEqual(warnings[1], [
            "paints nothing: easting 60 to 80 snaps to 60 to 60",
            "lies wholly outside the mesh: easting 60 to 80 lies beyond the mesh's 0 to 60",
            "moves more than half a cell: easting 80 snaps to 60 (moves 20, half the cell is 15)",
        ])
        self.assertEqual(warnings[2], [
            "paints nothing: elevation 250 to 130 snaps to 100 to 100",
            "lies wholly outside the mesh: elevation 250 to 130 lies beyond the mesh's 100 to 70",
            "lies above the top of the mesh: elevation 250 to 130, top 100",
            "moves more than half a cell: elevation 250 snaps to 100 (moves 150, half the "
            "cell is 5); elevation 130 snaps to 100 (moves 30, half the cell is 5)",
        ])
        self.assertEqual(warnings[3], ["hidden by later blocks: they paint over its only cell"])
        self.assertEqual(warnings[4], [
            "lies partly outside the mesh: easting -5 to 75 reaches beyond the mesh's 0 to 60; "
            "elevation 100 to 60 reaches beyond the mesh's 100 to 70",
        ])
        self.assertEqual(warnings[5], [
            "lies partly outside the mesh: easting -5.25 to 75.5 reaches beyond the mesh's "
            "0 to 60; elevation 100 to 59.5 reaches beyond the mesh's 100 to 70",
            "moves more than half a cell: easting -5.25 snaps to 0 (moves 5.25, half the cell "
            "is 5); easting 75.5 snaps to 60 (moves 15.5, half the cell is 15); elevation 59.5 "
            "snaps to 70 (moves 10.5, half the cell is 10)",
        ])
        # Block 5 paints every cell; block 6 paints northing cell 1 over it.
        self.assertEqual([b["painted"] for b in report["blocks"]], [0, 0, 0, 1, 12, 6])
        self.assertEqual([b["visible"] for b in report["blocks"]], [0, 0, 0, 0, 6, 6])
        self.assertEqual(report["background_cells"], 0)

        run = self.check(self.mesh, self.path("blocks.inp"))
        self.assertEqual(run.returncode, 0)
        self.assertIn("      warning: hidden by later blocks: they paint over its only cell\n",
                      run.stdout)
        # The text report gives one warning a mistake, with what follows from it named after
        # it: block 2 lies beside the mesh, and so paints nothing and moves far.
        self.assertIn("      warning: lies wholly outside the mesh: easting 60 to 80 lies beyond the "
                      "mesh's 0 to 60 (so it\n               also paints nothing and moves more "
                      "than half a cell)\n", run.stdout)
        self.assertTrue(run.stdout.endswith("Warnings: 6 on 6 of 6 blocks\n"))

    def test_a_mesh_without_cells_along_an_axis(self):
        # A negative count keeps no node: its origin is read and dropped.
        mesh = self.write("flat.txt", "2 1 -3\n0. 0. 50.\n2*10.\n10.\n\n")
        report = self.check_json("0\n1\n0. 20.  0. 10.  50. 40.  1\n", mesh)
        self.assertEqual(report["mesh"]["cells"], {"easting": 2, "northing": 1, "elevation": 0})
        self.assertEqual(report["mesh"]["total_cells"], 0)
        self.assertIsNone(report["mesh"]["origin"]["elevation"])
        self.assertIsNone(report["mesh"]["extent"]["elevation"])
        self.assertIsNone(report["mesh"]["smallest_cell"]["elevation"])
        self.assertEqual(report["blocks"][0]["warnings"],
                         ["paints nothing: the mesh has no elevation cells"])

    def test_a_block_that_reads_on_into_the_next_line(self):
        # Block 1 lacks its value: it takes the first value of line 4, and the 500 ohm m
        # block there is lost. Block 2 begins after a blank line, which is no warning.
        blocks = self.write("blocks.inp", "0\n2\n0. 10.  0. 5.  100. 90.\n"
                                          "10. 30.  0. 5.  100. 90.  500.\n\n"
                                          "30. 60.  0. 5.  100. 90.  7.\n")
        report = self.check_json(open(blocks).read())
        first, second = report["blocks"]
        self.assertEqual((first["line"], first["last_line"], first["value"]), (3, 4, 10))
        self.assertEqual(first["warnings"],
                         ["reads on past its line: its values run from line 3 to line 4"])
        self.assertEqual((second["line"], second["last_line"], second["warnings"]), (6, 6, []))
        # Without a line to spare the file ends early, and the block to blame is named.
        blocks = self.write("short.inp", "0\n2\n\n0. 10.  0. 5.  100. 90.\n"
                                         "10. 30.  0. 5.  100. 90.  500.\n")
        run = self.check(self.mesh, blocks, "--json")
        self.assertEqual(run.returncode, 1)
        self.assertEqual(json.loads(run.stdout)["error"]["problem"],
                         "the file ends too early; block 1 reads on past its line: its values "
                         "run from line 4 to line 5")

    def test_warnings_on_the_mesh_and_the_model_name_say_where(self):
        mesh = self.write("odd.txt", "3 2 2\n0. 0. 100.\n10. 0. -5.\n5. 15.\n10.\n20.\n")
        blocks = self.write("blocks.inp", "0\n0\n")
        run = self.check(mesh, blocks, "--json")
        report = json.loads(run.stdout)
        self.assertEqual(report["warnings"], [
            "cells of zero or negative width: easting cell 2 is 0 wide, cell 3 is -5 wide "
            "(line 3)"])
        # The model named as boxpaint would be given it: here the mesh, reached two ways.
        os.symlink(self.mesh, self.path("link.txt"))
        for model in ("mesh.txt", "./mesh.txt", "link.txt"):
            run = self.check("mesh.txt", "blocks.inp", model)
            self.assertEqual(run.returncode, 0)
            self.assertIn(f"  warning: the model file is an input: ", run.stdout)
            # Broken into lines of at most 100 characters.
            self.assertIn(" is the mesh file, which boxpaint would replace with the model",
                          " ".join(run.stdout.split()))
            self.assertTrue(run.stdout.endswith("Warnings: 1 on the files\n"), run.stdout)
        run = self.check("mesh.txt", "blocks.inp", "model.txt")
        self.assertTrue(run.stdout.endswith("No warnings\n"), run.stdout)
        # A device name: boxpaint writes no model file.
        run = self.check("mesh.txt", "blocks.inp", "con.mod", "--json")
        self.assertEqual(json.loads(run.stdout)["warnings"], [
            "the model file is a device: con.mod names standard output, so boxpaint writes the "
            "model there and makes no file"])

    def test_numbers_worked_out_on_the_mesh_carry_no_rounding_noise(self):
        # 20000 cells 0.1 wide from easting 500000.1: the nodes are running sums.
        mesh = self.write("fine.txt", "20000 1 1\n500000.1 0. 0.\n20000*0.1\n10.\n10.\n")
        blocks = self.write("blocks.inp", "0\n3\n501941.13 501941.87  0. 10.  0. -10.  1\n"
                                          "499000. 502000.2  0. 10.  -10. 0.  2\n"
                                          "500000. 500100.  0. 10.  -10. 0.  3\n")
        run = self.check(mesh, blocks)
        self.assertEqual((run.returncode, run.stderr), (0, ""))
        self.assertNotRegex(run.stdout, r"\.\d*(0000000|9999999)")
        # Numbers as read keep the plain form they were typed in.
        self.assertIn("500000 500100 0 10 -10 0", " ".join(run.stdout.split()))
        self.assertNotIn("e+05", run.stdout)
        self.assertIn("easting   20000 cells from 500000.1 to 502000.1; smallest cell 0.1, "
                      "largest 0.1", run.stdout)
        # The move follows from lying outside: the text report names it after that warning,
        # the JSON report gives it in full.
        report = json.loads(self.check(mesh, blocks, "--json").stdout)
        self.assertIn("moves more than half a cell: easting 499000 snaps to 500000.1 (moves "
                      "1000.1, half the cell is 0.05)", report["blocks"][1]["warnings"][1])

    def test_a_bound_at_the_end_of_summed_widths_is_not_outside(self):
        # The running sums end at 99.9999999999986; the block's 100 is the end the user means.
        mesh = self.write("sums.txt", "1000 1 1\n0. 0. 0.\n1000*0.1\n1.\n1.\n")
        report = self.check_json("0\n2\n99.95 100.  0. 1.  0. -1.  5\n"
                                 "99.95 100.001  0. 1.  0. -1.  5\n", mesh)
        self.assertEqual(report["blocks"][0]["warnings"],
                         ["paints nothing: easting 99.95 to 100 snaps to 100 to 100"])
        self.assertIn("lies partly outside the mesh: easting 99.95 to 100.001 reaches beyond "
                      "the mesh's 0 to 100", report["blocks"][1]["warnings"])

    def test_a_report_that_cannot_be_written_says_so(self):
        blocks = self.write("blocks.inp", "0\n20000\n" + "0. 10.  0. 5.  100. 90.  1\n" * 20000)
        read_end, write_end = os.pipe()
        os.close(read_end)
        run = subprocess.run([CHECK, self.mesh, blocks], stdout=write_end, stderr=subprocess.PIPE,
                             text=True)
        os.close(write_end)
        self.assertEqual(run.returncode, 1)
        self.assertEqual(run.stderr, "boxpaint-check: cannot write the report: Broken pipe\n")

    def test_sigterm_ends_it_by_that_signal(self):
        # Reading a FIFO that nobody writes, it waits until it is told to end.
        fifo = self.path("blocks.fifo")
        os.mkfifo(fifo)
        check = subprocess.Popen([CHECK, self.mesh, fifo], stdout=subprocess.PIPE,
                                 stderr=subprocess.PIPE, text=True)
        time.sleep(0.3)
        check.send_signal(signal.SIGTERM)
        out, err = check.communicate(timeout=10)
        self.assertEqual((check.returncode, out, err), (-signal.SIGTERM, "", ""))

    # Where reading stopped

    def test_reading_stops_where_boxpaint_stops_and_says_what_it_says(self):
        good_blocks = "0\n1\n0. 10.  0. 5.  100. 90.  1\n"
        cases = [
            # name, mesh text, block text, file that stops, line, after_line, text, reading
            ("syntax error in a block", MESH,
             "0\n2\n0. 10.  0. 5.  100. 90.  1\n0. 10.  0. 5.  100. 9O  2  ! typo\n",
             "blocks.inp", 4, None, "0. 10.  0. 5.  100. 9O  2  ! typo", "block 2 of 2"),
            ("block file ends early", MESH, "0\n3\n0. 10.  0. 5.  100. 90.  1\n",
             "blocks.inp", None, 3, None, "block 2 of 3"),
            ("count out of range", "3 2 99999999999\n", good_blocks,
             "mesh.txt", 1, None, "3 2 99999999999", None),
            # 2000 x 2000 x 2000 cells of 8 bytes overflow boxpaint's 32-bit model size.
            ("model too large", "2000 2000 2000\n0. 0. 0.\n2000*1.\n2000*1.\n2000*1.\n",
             good_blocks, "mesh.txt", None, None, None, None),
        ]
        for name, mesh_text, blocks_text, stopped, line, after, text, reading in cases:
            with self.subTest(name):
                mesh = self.write("mesh.txt", mesh_text)
                blocks = self.write("blocks.inp", blocks_text)
                boxpaint = subprocess.run([BOXPAINT, mesh, blocks, self.path("model.txt")],
                                          capture_output=True, text=True)
                run = self.check(mesh, blocks, "--json")
                self.assertEqual(run.returncode, 1)
                error = json.loads(run.stdout)["error"]
                self.assertEqual(error["file"], self.path(stopped))
                self.assertEqual((error["line"], error["after_line"]), (line, after))
                self.assertEqual(error["text"], text)
                self.assertEqual(error["reading"], reading)
                self.assertEqual(error["message"], boxpaint.stderr.splitlines()[0])

        # The same on standard error without --json, for the first case.
        mesh = self.write("mesh.txt", MESH)
        blocks = self.write("blocks.inp", cases[0][2])
        run = self.check(mesh, blocks)
        self.assertEqual((run.returncode, run.stdout), (1, ""))
        self.assertEqual(run.stderr.splitlines(), [
            f"boxpaint-check: reading stopped at {blocks}, line 4, in block 2 of 2: "
            "a value boxpaint cannot read",
            "  line 4: 0. 10.  0. 5.  100. 9O  2  ! typo",
            "  boxpaint: forrtl: severe (59): list-directed I/O syntax error, unit 1, "
            f"file {blocks}",
        ])

    def test_a_remark_read_as_a_value_is_named(self):
        # Six values and a remark: boxpaint reads the remark as the block's value.
        blocks = self.write("blocks.inp", "0\n1\n0. 10.  0. 5.  100. 90.  ! lens\n")
        run = self.check(self.mesh, blocks)
        self.assertEqual(run.returncode, 1)
        self.assertEqual(run.stderr.splitlines()[1:3], [
            "  line 3: 0. 10.  0. 5.  100. 90.  ! lens",
            "  line 3 holds six values, so the remark after them is read as the seventh (the "
            "block's value)"])

    def test_a_file_that_cannot_be_opened(self):
        blocks = self.write("blocks.inp", "0\n0\n")
        for arguments, missing in [(["absent.txt", blocks], "absent.txt"),
                                   ([self.mesh, "absent.inp"], "absent.inp")]:
            with self.subTest(missing):
                boxpaint = subprocess.run([BOXPAINT, *arguments, "model.txt"], cwd=self.dir,
                                          capture_output=True, text=True)
                run = self.check(*arguments, "--json")
                self.assertEqual(run.returncode, 1)
                error = json.loads(run.stdout)["error"]
                self.assertEqual(error["file"], missing)
                self.assertEqual(error["problem"], "the file cannot be opened")
                self.assertEqual(error["message"], boxpaint.stdout.rstrip("\r\n"))

    # The model boxpaint paints

    def test_visible_cells_match_the_model_boxpaint_writes(self):
        # Each block's value is its number, so the model tells which block each cell shows.
        generator = random.Random(20240101)
        lines = ["-1", "60"]
        for number in range(1, 61):
            e = sorted(generator.uniform(-10, 70) for _ in range(2))
            n = sorted(generator.uniform(-5, 25) for _ in range(2))
            z = sorted(generator.uniform(60, 110) for _ in range(2))
            if number % 3 == 0:
                e.reverse()  # the order of a pair does not matter
            lines.append(" ".join(f"{v:.2f}" for v in e + n + z) + f" {number}")
        blocks = self.write("blocks.inp", "\n".join(lines) + "\n")
        model = self.path("model.txt")
        subprocess.run([BOXPAINT, self.mesh, blocks, model], check=True)
        with open(model) as f:
            shown = [round(float(line)) for line in f]
        report = self.check_json("\n".join(lines) + "\n")
        self.assertEqual(report["background_cells"], shown.count(-1))
        self.assertEqual([b["visible"] for b in report["blocks"]],
                         [shown.count(number) for number in range(1, 61)])
        for block in report["blocks"]:
            cells = block["cells"]
            size = 0 if cells is None else \
                (cells["easting"][1] - cells["easting"][0] + 1) * \
                (cells["northing"][1] - cells["northing"][0] + 1) * \
                (cells["elevation"][1] - cells["elevation"][0] + 1)
            self.assertEqual(block["painted"], size)

    # The command line

    def test_command_line(self):
        for arguments, status in [([], 2), (["mesh.txt"], 2), (["a", "b", "c", "d"], 2),
                                  (["--jsn", "a", "b"], 2), (["--help"], 0),
                                  (["--version"], 0)]:
            with self.subTest(arguments):
                run = self.check(*arguments)
                self.assertEqual(run.returncode, status)
                self.assertEqual(run.stderr == "", status == 0)
        self.assertTrue(self.check("--version").stdout.startswith("boxpaint-check "))
        # After "--" a name may begin with '-'.
        self.write("-blocks", "0\n0\n")
        self.assertEqual(self.check("--", "mesh.txt", "-blocks").returncode, 0)


if __name__ == "__main__":
    BOXPAINT, CHECK = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    unittest.main(argv=sys.argv[:1] + sys.argv[3:])
