"""paint, write_model, read_model, Mesh.write and write_blocks against the command-line
program: the model file boxpaint writes from the files the module writes equals what the
module paints, value for value when read back and byte for byte when written."""

import json
import os
import subprocess

import numpy as np
import pytest
from hypothesis import HealthCheck, given, settings
from hypothesis import strategies as st

import boxpaint
from conftest import LARGEST, REPOSITORY, program, read_records


def check_cli(*paths):
    """boxpaint-check's JSON report on `paths`, as json.dumps writes it back (NaN and all)."""
    done = subprocess.run([program("BOXPAINT_CHECK"), "--json", *map(str, paths)],
                          capture_output=True, check=True)
    return json.dumps(json.loads(done.stdout))


def assert_same_values(painted, expected):
    assert painted.shape == expected.shape
    assert np.array_equal(painted, expected, equal_nan=True)


def compare_with_cli(boxpaint_cli, folder, mesh, background, blocks):
    """Writes the mesh and the blocks, runs boxpaint on them and compares its model file
    with paint's array read back and written again."""
    # Neither writer cuts an old model file when it has no record to write.
    for name in ("cli.txt", "module.txt", "build.txt"):
        (folder / name).unlink(missing_ok=True)
    mesh.write(folder / "mesh.txt")
    boxpaint.write_blocks(folder / "blocks.inp", background, blocks)
    model = boxpaint_cli(folder / "mesh.txt", folder / "blocks.inp", folder / "cli.txt")
    painted = boxpaint.paint(mesh, background, blocks)
    assert painted.shape == mesh.shape and painted.flags.c_contiguous
    assert_same_values(painted.ravel(), read_records(model))
    boxpaint.write_model(folder / "module.txt", painted)
    assert (folder / "module.txt").read_bytes() == model
    assert_same_values(boxpaint.read_model(folder / "cli.txt", mesh), painted)
    assert check_cli(folder / "mesh.txt", folder / "blocks.inp", folder / "cli.txt") == \
        json.dumps(boxpaint.check(folder / "mesh.txt", folder / "blocks.inp", folder / "cli.txt"))
    assert boxpaint.render_model(painted, "\n") == model.replace(b"\r\n", b"\n")
    # The files read back to what they were written from, and build writes boxpaint's bytes.
    read = boxpaint.read_mesh(folder / "mesh.txt")
    assert read.counts == mesh.counts
    for ours, theirs in zip((read.origin,) + read.widths + read.nodes,
                            (mesh.origin,) + mesh.widths + mesh.nodes):
        assert np.array_equal(ours, theirs, equal_nan=True)
    read_background, read_blocks = boxpaint.read_blocks(folder / "blocks.inp")
    assert np.array_equal([read_background], [background], equal_nan=True)
    assert np.array_equal(read_blocks, np.reshape(blocks, (-1, 7)), equal_nan=True)
    boxpaint.build(folder / "mesh.txt", folder / "blocks.inp", folder / "build.txt")
    assert (folder / "build.txt").read_bytes() == model


def test_bundled_example_paints_as_the_cli_does(boxpaint_cli, tmp_path):
    mesh = boxpaint.Mesh(np.full(20, 50.0), np.full(20, 50.0), np.full(20, 10.0), (0, 0, 200))
    with open(os.path.join(REPOSITORY, "examples", "blocks.inp")) as f:
        lines = f.read().splitlines()
    blocks = np.array([[float(v) for v in line.split()[:7]] for line in lines[2:4]])
    painted = boxpaint.paint(mesh, 0.0, blocks)
    model = boxpaint_cli(os.path.join(REPOSITORY, "examples", "mesh.txt"),
                         os.path.join(REPOSITORY, "examples", "blocks.inp"), tmp_path / "m.txt")
    assert_same_values(painted.ravel(), read_records(model))
    compare_with_cli(boxpaint_cli, tmp_path, mesh, 0.0, blocks)


def test_snapping_example_grows_shrinks_moves_and_drops_blocks(boxpaint_cli, tmp_path):
    mesh = boxpaint.Mesh(np.full(8, 10.0), [10.0], np.full(4, 10.0), origin=(0, 0, 100))
    blocks = [[14, 26, 0, 10, 96, 84, 1], [46, 74, 0, 10, 94, 66, 2],
              [0, 80, 0, 10, 78, 76, 3], [35, 45, 0, 10, 75, 65, 4]]
    section = boxpaint.paint(mesh, 0.0, blocks)[0].T
    assert section.tolist() == [[0, 1, 1, 0, 0, 0, 0, 0], [0, 1, 1, 0, 0, 2, 2, 0],
                                [0, 0, 0, 4, 0, 2, 2, 0], [0, 0, 0, 0, 0, 0, 0, 0]]
    compare_with_cli(boxpaint_cli, tmp_path, mesh, 0.0, np.array(blocks, float))


# Numbers the writer and the snapping treat apart: ties, runs of one width, the extremes.
SPECIAL = [0.0, -0.0, 0.5, 5.0, 10.0, 1e100, -1e-300, 9.9996e99, LARGEST, 5e-324,
           float("nan"), float("inf"), -float("inf"), 2.71828, 1234567.0]
numbers = st.one_of(st.floats(-200, 1200), st.sampled_from(SPECIAL),
                    st.integers(-20, 120).map(lambda n: n * 5.0))
widths = st.lists(st.one_of(st.sampled_from([10.0, 10.0, 0.1, 25.0]),
                            st.floats(0.01, 500), st.floats(-50, 50)), min_size=0, max_size=6)


@settings(max_examples=100, deadline=None,
          suppress_health_check=[HealthCheck.function_scoped_fixture])
@given(widths, widths, widths, st.tuples(numbers, numbers, numbers), numbers,
       st.lists(st.lists(numbers, min_size=7, max_size=7), max_size=8))
def test_generated_models_paint_as_the_cli_does(boxpaint_cli, tmp_path, easting, northing,
                                                elevation, origin, background, blocks):
    mesh = boxpaint.Mesh(easting, northing, elevation, origin)
    compare_with_cli(boxpaint_cli, tmp_path, mesh, background, np.array(blocks, float))


def test_blank_fields_carry_over_as_boxpaint_reads_them(boxpaint_cli, tmp_path):
    (tmp_path / "mesh.txt").write_text("6 1 3\n0. 0. 30.\n6*10.\n10.\n3*10.\n")
    (tmp_path / "blocks.inp").write_text(
        "0.\n4\n 0. 20. 0. 10. 10. 30. 1.\n40. 60. 4* 2.\n20. 40. /\n0. 60. 0. 10.,,20. 5.\n")
    background, blocks = boxpaint.read_blocks(tmp_path / "blocks.inp")
    # Left out: block 2's bounds but easting, block 3's all but easting, block 4's upper
    # elevation, which block 1 left as 30 once its bounds were put in order.
    assert blocks.tolist() == [[0, 20, 0, 10, 10, 30, 1], [40, 60, 0, 10, 30, 10, 2],
                               [20, 40, 0, 10, 30, 10, 2], [0, 60, 0, 10, 30, 20, 5]]
    model = boxpaint_cli(tmp_path / "mesh.txt", tmp_path / "blocks.inp", tmp_path / "m.txt")
    painted = boxpaint.paint(boxpaint.read_mesh(tmp_path / "mesh.txt"), background, blocks)
    assert_same_values(painted.ravel(), read_records(model))


def test_mesh_reads_back_through_the_cli_to_the_same_nodes(tmp_path):
    rng = np.random.default_rng(5)
    mesh = boxpaint.Mesh(rng.uniform(0.1, 99, 300), np.full(40, 0.1), rng.lognormal(size=30),
                         origin=(1e5 / 3, -7.25, 1234.5678))
    mesh.write(tmp_path / "mesh.txt")
    boxpaint.write_blocks(tmp_path / "blocks.inp", 1.0, np.zeros((0, 7)))
    done = subprocess.run([program("BOXPAINT_CHECK"), "--json", str(tmp_path / "mesh.txt"),
                           str(tmp_path / "blocks.inp")], capture_output=True, check=True)
    report = json.loads(done.stdout)["mesh"]
    for axis, nodes in zip(("easting", "northing", "elevation"), mesh.nodes):
        assert report["extent"][axis] == [nodes[0], nodes[-1]]
    assert tuple(report["cells"].values()) == mesh.counts


def test_read_model_reads_other_tools_files_and_refuses_torn_ones(tmp_path):
    rng = np.random.default_rng(8)
    mesh = boxpaint.Mesh(np.ones(7), np.ones(5), np.ones(3))
    values = rng.lognormal(size=mesh.shape) * 10.0 ** rng.integers(-120, 120, mesh.shape)
    path = tmp_path / "model.txt"
    np.savetxt(path, values.ravel())  # numpy's 24-character records
    assert np.array_equal(boxpaint.read_model(path, mesh), values)
    np.savetxt(path, values.ravel(), fmt="%10.3E")
    assert np.array_equal(boxpaint.read_model(path, mesh), np.vectorize(float)(
        [f"{v:10.3E}" for v in values.ravel()]).reshape(mesh.shape))
    # Torn and malformed files fail with the record they stop at, as boxpaint-view says.
    records = boxpaint.render_model(values).split(b"\r\n")[:-1]
    for data, line in ((b"\r\n".join(records[:-1]) + b"\r\n", mesh.size),
                       (b"\r\n".join(records) + b"\r\n 1.0\r\n", mesh.size + 1),
                       (b"\r\n".join(records), mesh.size),
                       (b"\r\n".join(records[:9] + [b" 1.0 2.0"] + records[10:]) + b"\r\n", 10)):
        path.write_bytes(data)
        with pytest.raises(boxpaint.Error) as raised:
            boxpaint.read_model(path, mesh)
        assert (raised.value.number, raised.value.file, raised.value.line) == (-3, str(path), line)


def test_write_vtr_writes_boxpaint_views_grid(tmp_path):
    examples = os.path.join(REPOSITORY, "examples")
    mesh = boxpaint.read_mesh(os.path.join(examples, "mesh.txt"))
    background, blocks = boxpaint.read_blocks(os.path.join(examples, "blocks.inp"))
    model = boxpaint.paint(mesh, background, blocks)
    boxpaint.write_model(tmp_path / "model.txt", model)
    subprocess.run([program("BOXPAINT_VIEW"), os.path.join(examples, "mesh.txt"),
                    str(tmp_path / "model.txt"), str(tmp_path / "view.vtr")], check=True)
    boxpaint.write_vtr(tmp_path / "module.vtr", mesh, model)
    grid = (tmp_path / "view.vtr").read_bytes()
    assert (tmp_path / "module.vtr").read_bytes() == grid
    boxpaint.write_vtr(tmp_path / "named.vtr", mesh, model, name="rho <Ω·m>")
    assert (tmp_path / "named.vtr").read_bytes() == grid.replace(  # Scalars= and Name=
        b'"value"', '"rho &lt;Ω·m&gt;"'.encode(), 2)
    with pytest.raises(boxpaint.Error) as raised:  # a folder that does not exist
        boxpaint.write_vtr(tmp_path / "no folder" / "m.vtr", mesh, model)
    assert raised.value.number == -3 and not (tmp_path / "no folder").exists()
