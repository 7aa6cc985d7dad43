"""End-to-end tests of boxpaint-view: paint a model with boxpaint, then read the grid
boxpaint-view writes with VTK's own reader and decode its pictures with PIL.

Run as: test_view.py BOXPAINT BOXPAINT_VIEW PICTURES, where PICTURES is "cairo" for a
build that draws with cairo (PNG, SVG and PDF) and "bitmap" for one without it (PNG).
"""

import math
import os
import re
import signal
import struct
import subprocess
import sys
import tempfile
import time
import unittest
from decimal import Decimal

from PIL import Image
from vtkmodules.vtkCommonCore import vtkPoints
from vtkmodules.vtkCommonDataModel import vtkPolyData
from vtkmodules.vtkFiltersCore import vtkProbeFilter
from vtkmodules.vtkIOXML import vtkXMLRectilinearGridReader

BOXPAINT = ""
VIEW = ""
PICTURES = ""

# Ends of the colour scale and the colour of NaN cells, as --help describes them.
LOW_COLOUR = (68, 1, 84)
HIGH_COLOUR = (253, 231, 37)
NAN_COLOUR = (160, 160, 160)
UNDER_COLOUR = (230, 130, 200)
OVER_COLOUR = (215, 55, 30)

# Unequal widths on every axis, so that a swapped axis or a wrong scale shows.
MESH = """3 4 5            ! cells along easting, northing, elevation
100. 200. 50.    ! origin; elevation is the top
10. 20. 30.      ! easting widths: nodes 100 110 130 160
5. 15. 10. 20.   ! northing widths: nodes 200 205 220 230 250
1. 2. 3. 4. 5.   ! thicknesses: elevation nodes 50 49 47 44 40 35
"""
# Block bounds sit on nodes, so the painted cells are plain: e 110..130 is easting cell 2,
# n 205..230 northing cells 2-3, z 47..40 elevation cells 3-4.
BLOCKS = """0.5
2
110. 130.  205. 230.  47. 40.  2.0
100. 110.  200. 205.  50. 49.  NaN
"""
BLOCK = {"e": (110, 130), "n": (205, 230), "z": (40, 47), "value": 2.0}
NAN_BLOCK = {"e": (100, 110), "n": (200, 205), "z": (49, 50)}


def model_value(text):
    """The double a model record stands for: exact decimal, rounded once to a double."""
    text = text.strip()
    if text in ("1.798+308", "-1.798+308"):
        # Beyond the largest double: only the largest double itself is written so.
        return math.copysign(sys.float_info.max, -1.0 if text[0] == "-" else 1.0)
    if text[-1].isdigit() and text[-4] in "+-" and text[-5] != "E":  # 1.000+100
        text = text[:-4] + "E" + text[-4:]
    return float(Decimal(text))


def same_double(a, b):
    if math.isnan(a) or math.isnan(b):
        return math.isnan(a) and math.isnan(b)
    return struct.pack("<d", a) == struct.pack("<d", b)


def inside(value, bounds):
    return min(bounds) < value < max(bounds)


def load_grid(path):
    reader = vtkXMLRectilinearGridReader()
    reader.SetFileName(path)
    reader.Update()
    return reader.GetOutput()


def read_grid(path):
    grid = load_grid(path)
    axes = [grid.GetXCoordinates(), grid.GetYCoordinates(), grid.GetZCoordinates()]
    coordinates = [[a.GetValue(i) for i in range(a.GetNumberOfTuples())] for a in axes]
    array = grid.GetCellData().GetArray("value")
    values = [array.GetValue(i) for i in range(array.GetNumberOfTuples())] if array else None
    return grid.GetDimensions(), coordinates, values


def probe(path, points):
    """VTK's own point location: per point, whether it was found and the value there."""
    cloud = vtkPoints()
    for point in points:
        cloud.InsertNextPoint(*point)
    data = vtkPolyData()
    data.SetPoints(cloud)
    probe_filter = vtkProbeFilter()
    probe_filter.SetInputData(data)
    probe_filter.SetSourceData(load_grid(path))
    probe_filter.Update()
    out = probe_filter.GetOutput().GetPointData()
    found, value = out.GetArray("vtkValidPointMask"), out.GetArray("value")
    return [(int(found.GetTuple1(n)) == 1, value.GetTuple1(n)) for n in range(len(points))]


def mesh_nodes(counts, origin, widths):
    """The nodes of each axis as boxpaint makes them: elevation falls by its widths."""
    nodes = []
    for axis in range(3):
        axis_nodes = [origin[axis]]
        for width in widths[axis]:
            axis_nodes.append(axis_nodes[-1] - width if axis == 2 else axis_nodes[-1] + width)
        nodes.append(axis_nodes)
    return nodes


class ViewTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.dir = self.folder.name
        self.mesh = self.write("mesh.txt", MESH)
        self.blocks = self.write("blocks.inp", BLOCKS)
        self.model = self.path("model.txt")
        subprocess.run([BOXPAINT, self.mesh, self.blocks, self.model], check=True)

    def tearDown(self):
        self.folder.cleanup()

    def path(self, name):
        return os.path.join(self.dir, name)

    def write(self, name, text):
        with open(self.path(name), "w", newline="") as f:
            f.write(text)
        return self.path(name)

    def view(self, *arguments):
        return subprocess.run([VIEW, *arguments], capture_output=True, text=True)

    def model_records(self):
        with open(self.model, newline="") as f:
            return f.read().split("\r\n")[:-1]

    # The grid

    def test_grid_holds_the_nodes_and_every_cell_where_the_mesh_puts_it(self):
        out = self.path("model.vtr")
        run = self.view(self.mesh, self.model, out)
        self.assertEqual((run.returncode, run.stderr), (0, ""))
        dimensions, (x, y, z), values = read_grid(out)
        self.assertEqual(dimensions, (4, 5, 6))
        self.assertEqual(x, [100, 110, 130, 160])
        self.assertEqual(y, [200, 205, 220, 230, 250])
        self.assertEqual(z, [35, 40, 44, 47, 49, 50])  # rising: the top node last
        records = self.model_records()
        self.assertEqual(len(values), len(records))
        ne, nn, nz = 3, 4, 5
        for i in range(nz):
            for k in range(nn):
                for j in range(ne):
                    cell = values[j + ne * k + ne * nn * i]  # x fastest, then y, then z
                    # Grid layer i is model layer nz-1-i: elevation index 1 is the top.
                    record = records[(nz - 1 - i) + nz * j + nz * ne * k]
                    self.assertTrue(same_double(cell, model_value(record)), (i, j, k))
                    # Independent of the model file: the cell's centre tells what
                    # boxpaint painted there.
                    centre = {"e": (x[j] + x[j + 1]) / 2, "n": (y[k] + y[k + 1]) / 2,
                              "z": (z[i] + z[i + 1]) / 2}
                    if all(inside(centre[a], NAN_BLOCK[a]) for a in "enz"):
                        self.assertTrue(math.isnan(cell))
                    elif all(inside(centre[a], BLOCK[a]) for a in "enz"):
                        self.assertEqual(cell, BLOCK["value"])
                    else:
                        self.assertEqual(cell, 0.5)

    def test_every_value_text_reads_back_to_its_double(self):
        texts = ["       NaN", "  Infinity", " -Infinity", " 1.000+100", " 1.000-100",
                 " 9.999E+99", "-2.500E+00", " 4.941-324", " 1.798+308", " 0.000E+00",
                 " 5.000E-02", "-1.798+308"]
        mesh = self.write("mesh12.txt", "2 2 3\n0 0 0\n1 1\n1 1\n1 1 1\n")
        model = self.write("model12.txt", "".join(t + "\r\n" for t in texts))
        out = self.path("model12.vtr")
        run = self.view(mesh, model, out)
        self.assertEqual((run.returncode, run.stderr), (0, ""))
        _, _, values = read_grid(out)
        for r, text in enumerate(texts):
            i, j, k = 2 - r % 3, (r // 3) % 2, r // 6
            self.assertTrue(same_double(values[j + 2 * k + 4 * i], model_value(text)), text)

    def test_models_that_numpy_writes_read_at_every_width(self):
        try:
            import numpy
        except ImportError:
            self.skipTest("no numpy for this Python")
        # The painted model, a spread of magnitudes and signs, and the forms numpy gives
        # the values that are not finite.
        values = numpy.array([model_value(r) for r in self.model_records()])
        values[:12] = [1.098006265816278831e-01, -2.5e-7, 6105250.125, 1e100, -1e-300,
                       math.inf, -math.inf, math.nan, 0.0, -0.0, 123456789.0, 5e-324]
        for fmt, newline in (("%.18e", "\n"), ("%10.3E", "\n"), ("%.6g", "\r\n"),
                             ("%15.7e", "\n")):
            model = self.path("numpy.txt")
            numpy.savetxt(model, values, fmt=fmt, newline=newline)
            with open(model, newline="") as f:
                texts = f.read().split(newline)[:-1]
            out = self.path("numpy.vtr")
            run = self.view(self.mesh, model, out)
            self.assertEqual((run.returncode, run.stderr), (0, ""), fmt)
            _, _, grid = read_grid(out)
            ne, nn, nz = 3, 4, 5
            for r, text in enumerate(texts):
                i, j, k = nz - 1 - r % nz, (r // nz) % ne, r // (nz * ne)
                self.assertTrue(same_double(grid[j + ne * k + ne * nn * i], float(text)),
                                (fmt, text))
            # The same file cut short, with a record too many, and torn, is refused.
            torn = "".join(t + newline for t in texts[:-1]) + texts[-1]
            for lines, message in ((texts[:-1], "numpy.txt:60: end of file after 59 records"),
                                   (texts + texts[:1], "numpy.txt:61: more records than cells")):
                self.write("numpy.txt", "".join(t + newline for t in lines))
                self.assert_fails([self.mesh, model, out], 1, message, None)
            self.write("numpy.txt", torn)
            self.assert_fails([self.mesh, model, out], 1,
                              "numpy.txt:60: the file ends inside a record", None)

    def test_vtk_finds_every_cell_centre_and_its_value(self):
        # The test mesh, and one whose easting falls (negative widths) and whose
        # elevation holds cells of zero and of negative-to-positive thickness.
        cases = ((self.mesh, self.model, ((3, 4, 5), (100., 200., 50.),
                                          ((10, 20, 30), (5, 15, 10, 20), (1, 2, 3, 4, 5)))),
                 (self.write("falling.txt", "3 2 4\n100 0 50\n-10 -20 -30\n5 5\n1 0 2 0\n"),
                  None, ((3, 2, 4), (100., 0., 50.), ((-10, -20, -30), (5, 5), (1, 0, 2, 0)))))
        for mesh, model, (counts, origin, widths) in cases:
            if model is None:
                model = self.write("falling-model.txt",
                                   "".join(f"{n + 1:10.3E}\r\n" for n in range(24)))
            out = self.path("probe.vtr")
            run = self.view(mesh, model, out)
            self.assertEqual((run.returncode, run.stderr), (0, ""))
            with open(model, newline="") as f:
                records = f.read().split("\r\n")[:-1]
            e, n, z = mesh_nodes(counts, origin, widths)
            _, (x, y, zs), _ = read_grid(out)
            for got, nodes in ((x, e), (y, n), (zs, z)):
                self.assertEqual([struct.pack("<d", v) for v in got],
                                 [struct.pack("<d", v) for v in sorted(nodes)])
            ne, nn, nz = counts
            cells = [(i, j, k) for k in range(nn) for j in range(ne) for i in range(nz)]
            centres = [((e[j] + e[j + 1]) / 2, (n[k] + n[k + 1]) / 2, (z[i] + z[i + 1]) / 2)
                       for i, j, k in cells]
            for (found, value), (i, j, k), record in zip(probe(out, centres), cells, records):
                self.assertTrue(found, (mesh, i, j, k))
                if z[i] != z[i + 1]:  # a flat cell's centre lies on its neighbours' face
                    self.assertTrue(same_double(value, model_value(record)), (mesh, i, j, k))

    def test_an_axis_that_rises_and_falls_is_refused(self):
        mesh = self.write("zigzag.txt", "3 4 5\n100 200 50\n10 -20 30\n5 15 10 20\n1 2 3 4 5\n")
        out = self.path("out.vtr")
        self.assert_fails([mesh, self.model, out], 1,
                          "zigzag.txt: the easting nodes both rise and fall", out)

    # The pictures

    def picture(self, name, slice_form, *options, mesh=None, model=None):
        out = self.path(name)
        run = self.view(mesh or self.mesh, model or self.model, out, "--slice", slice_form,
                        *options)
        self.assertEqual((run.returncode, run.stderr), (0, ""))
        image = Image.open(out)
        image.load()
        self.assertEqual(image.mode, "RGB")
        left, top, width, height = (int(v) for v in image.text["Plot area"].split())
        across = image.text["Horizontal axis"].split()
        up = image.text["Vertical axis"].split()
        self.assertLessEqual(left + width, image.size[0])
        self.assertLessEqual(top + height, image.size[1])

        def pixel(a, u):
            """Colour of the pixel showing across-coordinate a, up-coordinate u."""
            a0, a1 = float(across[1]), float(across[2])
            u0, u1 = float(up[1]), float(up[2])
            px = left + int((a - a0) / (a1 - a0) * width)
            py = top + int((u1 - u) / (u1 - u0) * height)
            return image.getpixel((px, py))

        return image, (across[0], up[0]), (width, height), pixel

    def row_model(self, values):
        """A mesh of one row of 10-unit cells along easting and a model of `values`."""
        mesh = self.write("row.txt", f"{len(values)} 1 1\n500000 6105000 10\n"
                          f"{len(values)}*10\n10\n10\n")
        model = self.write("row-model.txt", "".join(f"{v:10.3E}\r\n" for v in values))
        return mesh, model

    def test_log_scale_and_limits_colour_every_decade_apart(self):
        values = [-1.0, 0.0, 0.01, 1.0, 100.0, 1e4]
        mesh, model = self.row_model(values)
        centres = [500005 + 10 * n for n in range(len(values))]
        image, _, _, pixel = self.picture("log.png", "z=1", "--log", mesh=mesh, model=model)
        colours = [pixel(e, 6105005) for e in centres]
        self.assertEqual(colours[:3], [UNDER_COLOUR, UNDER_COLOUR, LOW_COLOUR])
        self.assertEqual(colours[5], HIGH_COLOUR)
        self.assertEqual(len(set(colours[2:])), 4)  # 0.01, 1, 100 and 1e4 all differ
        self.assertEqual(image.text["Colour scale"], "logarithmic")
        self.assertEqual(image.text["Value range"], "0.01 10000")
        _, _, _, pixel = self.picture("clim.png", "z=1", "--clim", "0.5,200", mesh=mesh,
                                      model=model)
        colours = [pixel(e, 6105005) for e in centres]
        self.assertEqual(colours[:3], [UNDER_COLOUR] * 3)
        self.assertEqual(colours[5], OVER_COLOUR)
        self.assertNotIn(colours[3], (UNDER_COLOUR, OVER_COLOUR, LOW_COLOUR, HIGH_COLOUR))

    def test_titles_tell_neighbouring_cells_apart(self):
        mesh, model = self.row_model([1.0] * 3)
        image, *_ = self.picture("title.png", "e=2", mesh=mesh, model=model)
        self.assertTrue(image.text["Title"].startswith(
            "row-model.txt: easting cell 2 of 3, 500010 to 500020"), image.text["Title"])

    def test_size_and_vector_pictures(self):
        greek = "resistivity \u03c1 (\u03a9\u00b7m)"
        if PICTURES != "cairo":
            # The built-in font has no Cyrillic letters: the label is refused, not drawn as '?'.
            run = self.view(self.mesh, self.model, self.path("cyrillic.png"), "--slice", "n=2",
                            "--label", "\u0441\u043e\u043f\u0440. (\u041e\u043c\u00b7\u043c)")
            self.assertEqual(run.returncode, 2)
            self.assertIn("its own font draws ASCII, Latin-1 and the Greek letters of units only",
                          run.stderr)
        image, _, size, _ = self.picture("sized.png", "n=2", "--size", "1000x400",
                                         "--label", greek)
        self.assertEqual(image.size, (1000, 400))
        # Each letter drawn as itself: not as the '?' of a character the font lacks.
        unknown, *_ = self.picture("unknown.png", "n=2", "--size", "1000x400",
                                   "--label", "resistivity ? (?\u00b7m)")
        self.assertNotEqual(image.tobytes(), unknown.tobytes())
        for kind in ("svg", "pdf"):
            out = self.path(f"sized.{kind}")
            run = self.view(self.mesh, self.model, out, "--slice", "n=2", "--size=800x600",
                            "--log", "--label", "resistivity \u03c1 (\u03a9\u00b7m)")
            if PICTURES != "cairo":
                self.assertEqual(run.returncode, 2)
                self.assertIn("built without cairo", run.stderr)
                self.assertFalse(os.path.exists(out))
                continue
            self.assertEqual((run.returncode, run.stderr), (0, ""))
            with open(out, "rb") as f:
                data = f.read()
            if kind == "svg":
                self.assertRegex(data[:400].decode(), r'<svg [^>]*width="800pt" height="600pt"')
                self.assertTrue(data.rstrip().endswith(b"</svg>"))
            else:
                self.assertTrue(data.startswith(b"%PDF-"))
                self.assertRegex(data, rb"/MediaBox \[ ?0 0 800 600 ?\]")
                self.assertTrue(data.rstrip().endswith(b"%%EOF"))

    def test_title_units_and_exaggeration_as_asked(self):
        image, _, size, _ = self.picture("asked.png", "n=2", "--title", "Figure 3",
                                         "--units", "km", "--exaggeration", "2",
                                         "--size", "900x600")
        self.assertEqual(image.text["Title"], "Figure 3 (vertical exaggeration x2)")
        # 60 units of easting across, 15 of elevation up, the latter drawn twice as large.
        self.assertAlmostEqual(size[0] / size[1], 60 / (2 * 15), delta=0.03)
        # Without one, a section fills the size asked for and says how much it stretches.
        image, _, size, _ = self.picture("filled.png", "n=2", "--size", "900x600")
        stretch = (size[1] / 15) / (size[0] / 60)
        self.assertTrue(image.text["Title"].endswith(f" (vertical exaggeration x{stretch:.3g})"),
                        image.text["Title"])

    def test_a_range_asked_for_is_the_part_of_the_slice_shown(self):
        # The value block fills easting 110 to 130 and elevation 40 to 47 of northing cell 2.
        image, _, size, pixel = self.picture("part.png", "n=2", "--easting", "110,130",
                                             "--elevation", "40,47.5", "--axis-units", "km")
        self.assertEqual(image.text["Horizontal axis"], "easting 110 130")
        self.assertEqual(image.text["Vertical axis"], "elevation 40 47.5")
        for e in (110.2, 120, 129.8):
            for z in (40.2, 42, 46.8):
                self.assertEqual(pixel(e, z), HIGH_COLOUR, (e, z))
        self.assertEqual(pixel(120, 47.3), LOW_COLOUR)  # the cell above, cut at 47.5

    def test_plan_view_paints_each_cell_in_its_colour_to_scale(self):
        # Elevation cell 1 (50 to 49) holds the NaN block; cell 3 (47 to 44) the value block.
        for form, holds_nan in (("z=1", True), ("z=3", False), ("z@45.5", False)):
            image, names, size, pixel = self.picture("plan.png", form)
            self.assertEqual(names, ("easting", "northing"))
            # Same scale both ways: 60 easting units by 50 northing units.
            self.assertAlmostEqual(size[0] / size[1], 60 / 50, delta=0.02)
            for e0, e1 in ((100, 110), (110, 130), (130, 160)):
                for n0, n1 in ((200, 205), (205, 220), (220, 230), (230, 250)):
                    colour = pixel((e0 + e1) / 2, (n0 + n1) / 2)
                    if holds_nan and (e0, n0) == (100, 200):
                        self.assertEqual(colour, NAN_COLOUR, (form, e0, n0))
                    elif not holds_nan and e0 == 110 and 205 <= n0 < 230:
                        self.assertEqual(colour, HIGH_COLOUR, (form, e0, n0))
                    else:
                        self.assertEqual(colour, LOW_COLOUR, (form, e0, n0))
            if not holds_nan:
                # The block's edges fall where its nodes are, to the pixel.
                step = 60 / size[0]
                self.assertEqual(pixel(110 + 2 * step, 212), HIGH_COLOUR)
                self.assertEqual(pixel(110 - 2 * step, 212), LOW_COLOUR)
                self.assertEqual(pixel(130 - 2 * step, 212), HIGH_COLOUR)
                self.assertEqual(pixel(130 + 2 * step, 212), LOW_COLOUR)

    def test_sections_put_elevation_up(self):
        cases = (("e=2", ("northing", "elevation"), 212.0),
                 ("n@210", ("easting", "elevation"), 120.0))
        for form, names, across_in_block in cases:
            image, got_names, _, pixel = self.picture("section.png", form)
            self.assertEqual(got_names, names)
            self.assertEqual(pixel(across_in_block, 45.5), HIGH_COLOUR, form)  # z cell 3
            self.assertEqual(pixel(across_in_block, 42.0), HIGH_COLOUR, form)  # z cell 4
            self.assertEqual(pixel(across_in_block, 37.5), LOW_COLOUR, form)   # z cell 5
            self.assertEqual(pixel(across_in_block, 48.0), LOW_COLOUR, form)   # z cell 2

    # Failures: one line naming the file and line, a non-zero status, no output file

    def assert_fails(self, arguments, status, message, output):
        old = b"an older picture"
        if output:
            with open(output, "wb") as f:
                f.write(old)
        before = set(os.listdir(self.dir))
        run = self.view(*arguments)
        self.assertEqual(run.returncode, status, run.stderr)
        self.assertEqual(run.stdout, "")
        self.assertEqual(run.stderr.count("\n"), 1, run.stderr)
        self.assertTrue(run.stderr.startswith("boxpaint-view: "), run.stderr)
        self.assertIn(message, run.stderr)
        self.assertEqual(set(os.listdir(self.dir)), before)  # no temporary file left
        if output:
            with open(output, "rb") as f:
                self.assertEqual(f.read(), old)  # an existing file is left alone

    def test_a_model_that_does_not_fit_the_mesh_is_refused(self):
        records = [r + "\r\n" for r in self.model_records()]
        cases = (
            ("short.txt", records[:-1], "short.txt:60: end of file after 59 records"),
            ("long.txt", records + [" 1.000E+00\r\n"], "long.txt:61: more records than cells"),
            ("blank.txt", records[:7] + ["\r\n"] + records[8:], "blank.txt:8: blank record"),
            ("bad.txt", records[:40] + ["  1.0Q+0x \r\n"] + records[41:],
             "bad.txt:41: unreadable value '1.0Q+0x'"),
            ("torn.txt", records[:-1] + [" 0.000E"],
             "torn.txt:60: the file ends inside a record ('0.000E', no line end)"),
            ("junk.txt", records[:11] + [" 0.000E+00 junk\r\n"] + records[12:],
             "junk.txt:12: more than one value in the record ('0.000E+00 junk')"),
            ("pair.txt", records[:11] + [" 1.0, 2.0\n"] + records[12:],
             "pair.txt:12: more than one value in the record"),
        )
        for name, lines, message in cases:
            model = self.write(name, "".join(lines))
            for out in ("out.vtr", "out.png"):
                extra = ["--slice", "z=1"] if out.endswith(".png") else []
                self.assert_fails([self.mesh, model, self.path(out), *extra], 1, message,
                                  self.path(out))

    def test_a_model_is_read_in_one_pass_from_a_pipe_or_a_fifo(self):
        expected = self.path("file.vtr")
        self.assertEqual(self.view(self.mesh, self.model, expected).returncode, 0)
        with open(expected, "rb") as f:
            grid = f.read()
        # boxpaint writes the model to standard output, boxpaint-view reads standard input.
        painter = subprocess.Popen([BOXPAINT, self.mesh, self.blocks, "CON"],
                                   stdout=subprocess.PIPE)
        out = self.path("pipe.vtr")
        run = subprocess.run([VIEW, self.mesh, "-", out], stdin=painter.stdout,
                             capture_output=True, text=True)
        painter.stdout.close()
        self.assertEqual(painter.wait(), 0)
        self.assertEqual((run.returncode, run.stderr), (0, ""))
        with open(out, "rb") as f:
            self.assertEqual(f.read(), grid)
        fifo = self.path("model.fifo")
        os.mkfifo(fifo)
        painter = subprocess.Popen([BOXPAINT, self.mesh, self.blocks, fifo])
        out = self.path("fifo.vtr")
        run = self.view(self.mesh, fifo, out)
        self.assertEqual(painter.wait(), 0)
        self.assertEqual((run.returncode, run.stderr), (0, ""))
        with open(out, "rb") as f:
            self.assertEqual(f.read(), grid)
        # A model on standard input that falls short is named as such.
        run = subprocess.run([VIEW, self.mesh, "-", self.path("short.vtr")],
                             input=" 1.000E+00\r\n", capture_output=True, text=True)
        self.assertEqual(run.returncode, 1)
        self.assertIn("standard input:2: end of file after 1 records", run.stderr)

    def test_sigterm_ends_it_by_that_signal_and_leaves_no_output(self):
        # Waiting for a model from a FIFO that nobody writes, until it is told to end.
        fifo = self.path("model.fifo")
        os.mkfifo(fifo)
        view = subprocess.Popen([VIEW, self.mesh, fifo, self.path("out.vtr")],
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        time.sleep(0.3)
        view.send_signal(signal.SIGTERM)
        out, err = view.communicate(timeout=10)
        self.assertEqual((view.returncode, out, err), (-signal.SIGTERM, "", ""))
        self.assertEqual(sorted(os.listdir(self.dir)),
                         ["blocks.inp", "mesh.txt", "model.fifo", "model.txt"])

    def test_names_after_the_end_of_options_may_begin_with_a_dash(self):
        os.rename(self.mesh, self.path("-mesh.txt"))
        run = subprocess.run([VIEW, "--slice", "z=1", "--", "-mesh.txt", "model.txt", "-out.png"],
                             capture_output=True, text=True, cwd=self.dir)
        self.assertEqual((run.returncode, run.stderr), (0, ""))
        self.assertTrue(os.path.exists(self.path("-out.png")))

    def test_an_output_it_may_not_write_is_left_alone(self):
        out = self.path("locked.vtr")
        with open(out, "w") as f:
            f.write("kept")
        os.chmod(out, 0o444)
        # As an ordinary user in a folder anyone may write: root may write any file.
        os.chmod(self.dir, 0o777)
        as_user = (lambda: os.setuid(65534)) if os.geteuid() == 0 else None
        run = subprocess.run([VIEW, self.mesh, self.model, out], capture_output=True, text=True,
                             preexec_fn=as_user)
        self.assertEqual(run.returncode, 1, run.stderr)
        self.assertEqual(run.stderr,
                         f"boxpaint-view: {out}: cannot replace the file: Permission denied\n")
        with open(out) as f:
            self.assertEqual(f.read(), "kept")
        self.assertEqual(sorted(os.listdir(self.dir)), ["blocks.inp", "locked.vtr", "mesh.txt",
                                                        "model.txt"])

    def test_unusable_command_lines_are_refused(self):
        out = self.path("out.png")
        cases = (
            ([], "expected MESH MODEL OUTPUT"),
            ([self.mesh, self.model], "expected MESH MODEL OUTPUT"),
            ([self.mesh, self.model, out], "needs --slice"),
            ([self.mesh, self.model, out, "--slice", "x=1"], "--slice x=1"),
            ([self.mesh, self.model, out, "--slice", "z=6"], "outside the mesh's 5 elevation"),
            ([self.mesh, self.model, out, "--slice", "e@99"], "easting 99 lies outside"),
            ([self.mesh, self.model, self.path("out.vtr"), "--slice", "z=1"], "--slice is for"),
            ([self.mesh, self.model, self.path("out.jpg")], "must end in .vtr, .png, .svg or .pdf"),
            ([self.mesh, self.model, out, "--colour"], "unknown option --colour"),
            ([self.mesh, self.model, out, "--slice", "z=1", "--clim", "1"], "--clim 1: expected"),
            ([self.mesh, self.model, out, "--slice", "z=1", "--size", "10x10"], "--size 10x10"),
            ([self.mesh, self.model, out, "--slice", "z=1", "--size", "100x100"],
             "--size: a picture of 100x100 leaves too little room"),
            ([self.mesh, self.model, out, "--slice", "z=1", "--easting", "0,50"],
             "--easting 0,50: the mesh's easting runs from 100 to 160"),
            ([self.mesh, self.model, out, "--slice", "n=2", "--northing", "200,210"],
             "--northing: a slice across northing shows no range of northing"),
            ([self.mesh, self.model, out, "--slice", "z=1", "--axis-units", "ft"],
             "--axis-units ft: expected m or km"),
        )
        for arguments, message in cases:
            self.assert_fails(arguments, 2, message, None)

    def test_missing_inputs_are_named(self):
        out = self.path("out.vtr")
        self.assert_fails([self.path("none.txt"), self.model, out], 1, "none.txt", out)
        self.assert_fails([self.mesh, self.path("none.txt"), out], 1, "none.txt: cannot open",
                          out)
        broken = self.write("broken.txt", "3 4 5\n100. 200. 50.\n")
        self.assert_fails([broken, self.model, out], 1, "broken.txt: end-of-file", out)

    def test_help_explains_the_forms(self):
        run = self.view("--help")
        self.assertEqual(run.returncode, 0)
        for form in ("OUT.vtr", "OUT.png --slice", "z=K", "e=J", "n=K", "z@C"):
            self.assertIn(form, run.stdout)

    def test_version_is_the_project_version(self):
        run = self.view(self.mesh, "--version")
        self.assertEqual(run.returncode, 0)
        self.assertRegex(run.stdout, r"^boxpaint-view \d+\.\d+\.\d+\n$")


if __name__ == "__main__":
    BOXPAINT, VIEW, PICTURES = sys.argv[1], sys.argv[2], sys.argv[3]
    unittest.main(argv=sys.argv[:1] + sys.argv[4:])
