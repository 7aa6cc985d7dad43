"""How the module's calls fail, stop and share the process: failures raised with
boxpaint's numbers and nothing left behind, control-C between pieces, threads."""

import _thread
import os
import threading

import numpy as np
import pytest

import boxpaint


def test_failures_carry_boxpaint_numbers_and_the_interpreter_goes_on(tmp_path):
    missing = tmp_path / "no such folder" / "model.txt"
    with pytest.raises(FileNotFoundError) as raised:
        boxpaint.write_model(missing, [1.0])
    assert isinstance(raised.value, boxpaint.Error)
    assert (raised.value.number, raised.value.file) == (29, str(missing))
    with pytest.raises(boxpaint.Error) as raised:
        boxpaint.write_blocks(tmp_path, 0.0, [[0, 1, 0, 1, 0, 1, 2]])  # a folder
    assert raised.value.number == 9
    # A model whose size as doubles overflows 32 bits, refused before its memory is asked.
    huge = boxpaint.Mesh(np.ones(2048), np.ones(2048), np.ones(1024))
    with pytest.raises(boxpaint.Error) as raised:
        boxpaint.paint(huge, 0.0, [])
    assert raised.value.number == 179
    with pytest.raises(ValueError):
        boxpaint.paint(huge, 0.0, np.zeros((2, 6)))
    with pytest.raises(ValueError):
        boxpaint.write_model(tmp_path / "m.txt", [1.0], terminator="\n\n")
    boxpaint.write_model(tmp_path / "m.txt", [1.0], terminator="\n")
    assert (tmp_path / "m.txt").read_bytes() == b" 1.000E+00\n"


def test_a_thousand_failing_calls_leave_no_descriptor_and_no_memory(tmp_path):
    missing = tmp_path / "missing" / "file"
    mesh = boxpaint.Mesh([1.0], [1.0], [1.0])
    torn = tmp_path / "torn.txt"  # each fails while open, part-way through its read
    torn.write_text("1 1 1\n0 0 0\n1\n1 x\n")
    blocks = tmp_path / "blocks.inp"
    blocks.write_text("0\n1\n0 1 0 x 0 1 5\n")
    calls = [lambda: boxpaint.write_model(missing, [1.0, 2.0]),
             lambda: mesh.write(missing),
             lambda: boxpaint.write_blocks(missing, 0.0, []),
             lambda: boxpaint.read_mesh(torn),
             lambda: boxpaint.read_blocks(blocks),
             lambda: boxpaint.build(torn, blocks, tmp_path / "model.txt"),
             lambda: boxpaint.build(missing, blocks, tmp_path / "model.txt"),
             lambda: boxpaint.read_model(torn, mesh),
             lambda: boxpaint.read_model(missing, mesh),
             lambda: boxpaint.check(torn, blocks),
             lambda: boxpaint.write_vtr(missing, mesh, [1.0])]

    def fail_many(count):
        for i in range(count):
            with pytest.raises(boxpaint.Error):
                calls[i % len(calls)]()

    def resident_pages():
        with open("/proc/self/statm") as f:
            return int(f.read().split()[1])

    fail_many(100)  # whatever the first calls set up
    descriptors, pages = os.listdir("/proc/self/fd"), resident_pages()
    fail_many(1000)
    assert os.listdir("/proc/self/fd") == descriptors
    assert resident_pages() - pages < 256  # 1 MiB


@pytest.mark.parametrize("call", ["write_model", "paint", "build", "read_model"])
def test_control_c_stops_a_long_call_between_pieces(tmp_path, call):
    rng = np.random.default_rng(3)
    values = np.linspace(0.5, 2.5, 30_000_000)
    mesh = boxpaint.Mesh(np.ones(500), np.ones(300), np.ones(200))
    blocks = np.column_stack([rng.uniform(0, 500, (200_000, 6)), rng.normal(size=200_000)])
    path = tmp_path / "model.txt"

    def interrupt():
        # Once the first records are in the file, or a moment into the painting.
        while call == "write_model" and (not path.exists() or path.stat().st_size == 0):
            pass
        _thread.interrupt_main()

    if call == "build":
        mesh.write(tmp_path / "mesh.txt")
        boxpaint.write_blocks(tmp_path / "blocks.inp", 0.0, blocks)
    if call == "read_model":
        boxpaint.write_model(path, values)
    timer = threading.Timer(0.02, interrupt)
    timer.start()
    with pytest.raises(KeyboardInterrupt):
        if call == "write_model":
            boxpaint.write_model(path, values)
        elif call == "build":
            boxpaint.build(tmp_path / "mesh.txt", tmp_path / "blocks.inp", path)
        elif call == "read_model":
            boxpaint.read_model(path, mesh)
        else:
            boxpaint.paint(mesh, 0.0, blocks)
    timer.join()
    if call == "build" and path.exists():
        assert path.stat().st_size < 12 * mesh.size and path.stat().st_size % 12 == 0
    if call == "write_model":
        written = path.read_bytes()
        assert 0 < len(written) < 12 * values.size and len(written) % 12 == 0
        assert written == boxpaint.render_model(values[: len(written) // 12])
    boxpaint.paint(mesh, 0.0, blocks[:10])  # the next call works


def test_threads_paint_side_by_side_as_one_after_the_other():
    rng = np.random.default_rng(9)
    mesh = boxpaint.Mesh(rng.uniform(1, 5, 60), rng.uniform(1, 5, 70), rng.uniform(1, 5, 50))
    jobs = [np.column_stack([rng.uniform(0, 250, (5000, 6)), rng.normal(size=5000)])
            for _ in range(4)]
    alone = [boxpaint.paint(mesh, 1.0, blocks) for blocks in jobs]
    together = [None] * len(jobs)

    def paint(i):
        together[i] = boxpaint.paint(mesh, 1.0, jobs[i])

    threads = [threading.Thread(target=paint, args=(i,)) for i in range(len(jobs))]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert all(np.array_equal(a, b) for a, b in zip(alone, together))


def test_processes_take_meshes_functions_and_failures():
    from concurrent.futures import ProcessPoolExecutor

    mesh = boxpaint.Mesh(np.full(6, 10.0), np.full(5, 10.0), np.full(4, 10.0), (0, 0, 40))
    tables = [np.array([[0, 10 * k, 0, 50, 40, 0, k]], float) for k in range(1, 4)]
    with ProcessPoolExecutor(2) as pool:
        painted = list(pool.map(boxpaint.paint, [mesh] * 3, [0.5] * 3, tables))
        failure = pool.submit(boxpaint.write_model, "/no such folder/m.txt", [1.0]).exception()
    assert all(np.array_equal(p, boxpaint.paint(mesh, 0.5, t)) for p, t in zip(painted, tables))
    assert isinstance(failure, FileNotFoundError) and failure.number == 29


MESH = "3 2 2\n0 0 20\n3*10\n2*10\n2*10\n"
BLOCKS = "1.5\n1\n0 10 0 10 20 10 7\n"


@pytest.mark.parametrize("mesh, blocks", [
    ("3 2 2\n0 0 20\n3*10\n2*10\n", BLOCKS),                # the file ends early: 24
    ("3 2 2\n0 0 20\n3*10\n2*10\n1 x\n", BLOCKS),           # not a number: 59
    ("3 2 2\n0 0 20\n3*10\n2*10\n1e999 10\n", BLOCKS),      # beyond a double: 64
    ("2048 2048 1024\n0 0 0\n2048*1\n2048*1\n1024*1\n", BLOCKS),  # too large a model: 179
    (MESH, "1.5\n2\n0 10 0 10 20 10 7\n"),                  # a block missing: 24
    (None, BLOCKS),                                          # no mesh file: 29
    (MESH, None),                                            # no block file: 29
    (MESH, BLOCKS),                                          # the model file a folder
])
def test_build_fails_as_boxpaint_does(tmp_path, mesh, blocks):
    import subprocess

    from conftest import program

    names = {"mesh": tmp_path / "mesh.txt", "blocks": tmp_path / "blocks.inp"}
    for text, path in ((mesh, names["mesh"]), (blocks, names["blocks"])):
        if text is not None:
            path.write_text(text)
    folder = mesh == MESH and blocks == BLOCKS
    models = [tmp_path / "folder" if folder else tmp_path / f"{who}.txt" for who in ("cli", "lib")]
    for model in models:
        model.mkdir(exist_ok=True) if folder else model.write_bytes(b"old model\r\n")
    run = subprocess.run([program("BOXPAINT"), str(names["mesh"]), str(names["blocks"]),
                          str(models[0])], capture_output=True)
    with pytest.raises(boxpaint.Error) as raised:
        boxpaint.build(names["mesh"], names["blocks"], models[1])
    if None in (mesh, blocks):  # boxpaint says so on its console and ends with status 0
        assert run.returncode == 0 and b"not found" in run.stdout.lower()
        assert raised.value.number == 29 and isinstance(raised.value, FileNotFoundError)
    else:
        assert raised.value.number == run.returncode
    if not folder:
        assert models[1].read_bytes() == models[0].read_bytes()
        # boxpaint-check reads the files as boxpaint does, and fails with its numbers.
        with pytest.raises(boxpaint.Error) as checked:
            boxpaint.check(names["mesh"], names["blocks"])
        assert checked.value.number == raised.value.number


def test_files_are_written_as_boxpaint_writes_its_model_file(tmp_path):
    import fcntl
    import subprocess
    import sys

    # boxpaint's device names: con is the standard output.
    child = ("import boxpaint; boxpaint.write_model('con', [2.5, -1e100]); "
             "boxpaint.write_model('nul.txt', [1.0])")
    done = subprocess.run([sys.executable, "-c", child], capture_output=True, check=True)
    assert done.stdout == b" 2.500E+00\r\n-1.000+100\r\n" and not (tmp_path / "nul.txt").exists()
    # One writer: a file another writer holds is refused and left as it is.
    model = tmp_path / "model.txt"
    model.write_bytes(b"old\r\n")
    with open(model, "rb") as held:
        fcntl.flock(held, fcntl.LOCK_EX)
        for call in (lambda: boxpaint.write_model(model, [1.0]),
                     lambda: boxpaint.Mesh([1.0], [1.0], [1.0]).write(model)):
            with pytest.raises(boxpaint.Error) as raised:
                call()
            assert raised.value.number == 30 and model.read_bytes() == b"old\r\n"
    # A write refused part-way (a file-size limit) leaves whole records only.
    child = f"""
import resource, signal, boxpaint
signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
resource.setrlimit(resource.RLIMIT_FSIZE, (100_005, 100_005))
for call in (lambda: boxpaint.write_model({str(model)!r}, [1.5] * 100_000),
             lambda: boxpaint.write_blocks({str(tmp_path / 'blocks.inp')!r}, 0.0,
                                           [[0, 1, 2, 3, 4, 5, 6.5]] * 10_000)):
    try:
        call()
    except boxpaint.Error as failure:
        print(failure.number)
"""
    done = subprocess.run([sys.executable, "-c", child], capture_output=True, text=True, check=True)
    assert done.stdout.split() == ["38", "38"]
    written = model.read_bytes()
    assert 0 < len(written) <= 100_005 and written == b" 1.500E+00\r\n" * (len(written) // 12)
    lines = (tmp_path / "blocks.inp").read_bytes()
    assert lines.endswith(b"\n") and lines.count(b"\n") == len(lines.splitlines())
    assert lines.splitlines()[2:] == [b"0 1 2 3 4 5 6.5"] * (len(lines.splitlines()) - 2)
