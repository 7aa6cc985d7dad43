#!/usr/bin/env python3
"""Benchmark of the Python module boxpaint against the tools a Python user has, and against
boxpaint's own floor and run. Not a test: it prints medians side by side, and whether each
target is met.

What is measured (median of BENCH_RUNS runs, default 5, each pair in turn):
  read      a 32M-cell model file (400 x 400 x 200 cells, 384 MB): read_model against
            reading the file's bytes, numpy.loadtxt and pandas.read_csv, each in a child
            process that also reports the memory its read took at its peak (target: within
            2x of the bytes, 5x faster than both others, the array plus at most 16 MiB);
  write     write_model of that model painted from 5 blocks, and of 32M random log-normal
            values, against the floor (bench/write_floor.cc: the same number of bytes in
            1 MiB writes; targets 1.3x and 2x) and numpy.savetxt(fmt='%10.3E') on 4M of the
            values, scaled to 32M (target: 50x faster);
  paint     paint with 2,000,000 blocks on a 431 x 431 x 215 mesh against boxpaint's own
            run on the same files (target: no slower);
  ensemble  100 block files of 2,000 blocks each painted on one 100 x 100 x 100 mesh, each
            member's model file written, by 1 and by 2 worker processes, with
            concurrent.futures and with a local Dask cluster (how the time scales).

The module and boxpaint are built in Release in build-python-release/ of the repository.
Files go to a temporary directory under BENCH_DIR (default $TMPDIR or /tmp), removed at the
end. Usage: bench/python_benchmark.py [read] [write] [paint] [ensemble]   (no names: all four)
"""

import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

REPOSITORY = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(REPOSITORY, "build-python-release")
RUNS = int(os.environ.get("BENCH_RUNS", "5"))
ROWS = []


def build():
    print("Building the Release module and boxpaint ...", flush=True)
    subprocess.run(["cmake", "-S", REPOSITORY, "-B", BUILD, "-DCMAKE_BUILD_TYPE=Release",
                    "-DBOXPAINT_PYTHON=ON", "-DBOXPAINT_TESTS=OFF", "-DBOXPAINT_VIEW=OFF",
                    f"-DPython_EXECUTABLE={sys.executable}"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", BUILD, "-j2", "--target", "boxpaint_python", "boxpaint"],
                   check=True, stdout=subprocess.DEVNULL)
    sys.path.insert(0, os.path.join(BUILD, "python"))
    # The ensemble's worker processes import the module too.
    os.environ["PYTHONPATH"] = os.pathsep.join(
        filter(None, [os.path.join(BUILD, "python"), os.environ.get("PYTHONPATH")]))


def median_of(runs, *jobs):
    """Runs each job in turn, `runs` times; the median seconds of each."""
    times = [[] for _ in jobs]
    for _ in range(runs):
        for job, spent in zip(jobs, times):
            subprocess.run(["sync"])
            start = time.perf_counter()
            job()
            spent.append(time.perf_counter() - start)
    return [statistics.median(spent) for spent in times]


def row(job, tool, seconds, base, note=""):
    ROWS.append(f"| {job} | {tool} | {seconds:.3f} s | {seconds / base:.2f}x | {note} |")
    print(f"   {tool}: {seconds:.3f} s, {seconds / base:.2f}x {note}", flush=True)


def verdict(value, limit):
    return "met" if value <= limit else "NOT met"


# Reading, in a child process each: (seconds, peak bytes beyond the imports).
READERS = {
    "bytes": "data = open(path, 'rb').read()",
    "read_model": "data = boxpaint.read_model(path, mesh)",
    "numpy.loadtxt": "data = numpy.loadtxt(path)",
    "pandas.read_csv": "data = pandas.read_csv(path, header=None, dtype=float).to_numpy()",
}


def read_once(reader, path):
    # The peak from the process's own memory map (VmHWM), which starts afresh at exec;
    # ru_maxrss would carry over this process's own peak from before the exec.
    child = f"""
import sys, time
sys.path.insert(0, {os.path.join(BUILD, 'python')!r})
import numpy, pandas, boxpaint
def status(field):
    with open("/proc/self/status") as f:
        return next(int(line.split()[1]) * 1024 for line in f if line.startswith(field))
path = {path!r}
mesh = boxpaint.Mesh(numpy.full(400, 10.0), numpy.full(400, 10.0), numpy.full(200, 10.0))
before = status("VmRSS")
start = time.perf_counter()
{READERS[reader]}
spent = time.perf_counter() - start
print(spent, status("VmHWM") - before)
"""
    done = subprocess.run([sys.executable, "-c", child], capture_output=True, text=True)
    if done.returncode != 0:
        return None, done.stderr.strip().splitlines()[-1]
    spent, peak = done.stdout.split()
    return float(spent), int(peak)


def bench_read(work, boxpaint, numpy):
    print("== read: a 32M-cell model file (400 x 400 x 200, 384 MB)", flush=True)
    mesh = boxpaint.Mesh(numpy.full(400, 10.0), numpy.full(400, 10.0), numpy.full(200, 10.0))
    blocks = numpy.array([[0, 2000, 0, 2000, 0, -1000, 2.5], [1000, 3000, 500, 2500, -500, -1500, 0.5],
                          [100, 900, 3000, 3900, -100, -1900, 7e3], [2500, 3500, 100, 1200, 0, -300, 1e-3],
                          [0, 4000, 1900, 2100, -900, -1100, 42]])
    path = os.path.join(work, "model.txt")
    boxpaint.write_model(path, boxpaint.paint(mesh, 1.5, blocks))
    results = {}
    for _ in range(RUNS):
        for reader in READERS:
            spent, peak = read_once(reader, path)
            results.setdefault(reader, []).append((spent, peak))
    base = statistics.median(s for s, _ in results["bytes"])
    for reader, runs in results.items():
        if runs[0][0] is None:
            print(f"   {reader}: {runs[0][1]}")
            ROWS.append(f"| read 32M cells | {reader} | - | - | {runs[0][1]} |")
            continue
        spent = statistics.median(s for s, _ in runs)
        peak = max(p for _, p in runs)
        row("read 32M cells", reader, spent, base, f"peak {peak / 2**20:.0f} MiB beyond the imports")
    return mesh, blocks


def bench_write(work, boxpaint, numpy, mesh, blocks):
    print("== write: 32M records", flush=True)
    floor = os.path.join(work, "write_floor")
    subprocess.run(["c++", "-O2", "-o", floor, os.path.join(REPOSITORY, "bench", "write_floor.cc")],
                   check=True)
    out = os.path.join(work, "out.txt")
    for name, values, target in (
            ("painted from 5 blocks", boxpaint.paint(mesh, 1.5, blocks), 1.3),
            ("random log-normal", numpy.random.default_rng(1).lognormal(size=32_000_000), 2.0)):
        size = 12 * values.size
        processor = []  # the processor time of each write_model, all its threads'

        def write():
            start = time.process_time()
            boxpaint.write_model(out, values)
            processor.append(time.process_time() - start)

        module, floor_seconds = median_of(
            RUNS, write, lambda: subprocess.run([floor, out, str(size)], check=True))
        row(f"write 32M, {name}", "floor (1 MiB writes)", floor_seconds, floor_seconds)
        row(f"write 32M, {name}", "write_model", module, floor_seconds,
            f"target {target}x: {verdict(module / floor_seconds, target)}; "
            f"processor {statistics.median(processor):.3f} s")
        if name.startswith("random"):
            part = values[:4_000_000]
            (savetxt,) = median_of(min(RUNS, 3), lambda: numpy.savetxt(out, part, fmt="%10.3E"))
            scaled = savetxt * values.size / part.size
            row(f"write 32M, {name}", "numpy.savetxt (4M, scaled)", scaled, floor_seconds,
                f"write_model {scaled / module:.0f}x faster; target 50x: "
                f"{verdict(50, scaled / module)}")


def bench_paint(work, boxpaint, numpy):
    print("== paint: 2,000,000 blocks on 431 x 431 x 215 cells", flush=True)
    ne, nn, nz, count = 431, 431, 215, 2_000_000
    mesh = boxpaint.Mesh(numpy.full(ne, 10.0), numpy.full(nn, 10.0), numpy.full(nz, 10.0))
    rng = numpy.random.default_rng(20261207)
    e, n, z = rng.uniform(0, ne * 10, count), rng.uniform(0, nn * 10, count), -rng.uniform(0, nz * 10, count)
    blocks = numpy.round(numpy.column_stack([
        e, e + rng.uniform(0, 100, count), n + rng.uniform(0, 100, count), n,
        z, z - rng.uniform(0, 100, count), rng.uniform(0, 1000, count)]), 3)
    mesh_path, block_path = os.path.join(work, "mesh.txt"), os.path.join(work, "blocks.inp")
    mesh.write(mesh_path)
    boxpaint.write_blocks(block_path, 1.5, blocks)
    cli = os.path.join(BUILD, "boxpaint")
    model = os.path.join(work, "cli.txt")
    module, run = median_of(RUNS, lambda: boxpaint.paint(mesh, 1.5, blocks),
                            lambda: subprocess.run([cli, mesh_path, block_path, model], check=True))
    row("paint 2,000,000 blocks", "boxpaint (reads, paints, writes)", run, run)
    row("paint 2,000,000 blocks", "paint", module, run, f"target no slower: {verdict(module, run)}")


def paint_member(mesh, block_path, model_path):
    """One member of an ensemble: its block file painted on the mesh, its model written."""
    import boxpaint
    background, blocks = boxpaint.read_blocks(block_path)
    boxpaint.write_model(model_path, boxpaint.paint(mesh, background, blocks))


def bench_ensemble(work, boxpaint, numpy):
    members, count = 100, 2_000
    print(f"== ensemble: {members} block files of {count} blocks on 100 x 100 x 100 cells",
          flush=True)
    from concurrent.futures import ProcessPoolExecutor

    import distributed
    mesh = boxpaint.Mesh(numpy.full(100, 10.0), numpy.full(100, 10.0), numpy.full(100, 10.0))
    rng = numpy.random.default_rng(4)
    block_paths, model_paths = [], []
    for member in range(members):
        e, n, z = rng.uniform(0, 1000, (3, count))
        blocks = numpy.column_stack([e, e + 50, n, n + 50, -z, -z - 50, rng.lognormal(size=count)])
        block_paths.append(os.path.join(work, f"member{member}.inp"))
        model_paths.append(os.path.join(work, f"member{member}.txt"))
        boxpaint.write_blocks(block_paths[-1], 1.0, blocks)

    def with_futures(workers):
        with ProcessPoolExecutor(workers) as pool:
            pool.submit(int).result()  # the workers started before the clock
            start = time.perf_counter()
            list(pool.map(paint_member, [mesh] * members, block_paths, model_paths))
            return time.perf_counter() - start

    def with_dask(workers):
        with distributed.LocalCluster(n_workers=workers, threads_per_worker=1, processes=True,
                                      dashboard_address=None) as cluster, \
                distributed.Client(cluster) as client:
            start = time.perf_counter()
            shared = client.scatter(mesh, broadcast=True)
            client.gather(client.map(paint_member, [shared] * members, block_paths, model_paths))
            return time.perf_counter() - start

    for engine, run in (("concurrent.futures", with_futures), ("Dask, local cluster", with_dask)):
        one, two = ([run(workers) for _ in range(RUNS)] for workers in (1, 2))
        one, two = statistics.median(one), statistics.median(two)
        row(f"ensemble of {members}", f"{engine}, 1 worker", one, one)
        row(f"ensemble of {members}", f"{engine}, 2 workers", two, one,
            f"{one / two:.2f}x the speed of one")


def main():
    chosen = sys.argv[1:] or ["read", "write", "paint", "ensemble"]
    build()
    import numpy

    import boxpaint
    work = tempfile.mkdtemp(prefix="boxpaint-python-bench.",
                            dir=os.environ.get("BENCH_DIR", os.environ.get("TMPDIR", "/tmp")))
    try:
        print(f"Working in {work}, median of {RUNS} runs", flush=True)
        mesh = boxpaint.Mesh(numpy.full(400, 10.0), numpy.full(400, 10.0), numpy.full(200, 10.0))
        blocks = numpy.array([[0, 2000, 0, 2000, 0, -1000, 2.5]])
        if "read" in chosen:
            mesh, blocks = bench_read(work, boxpaint, numpy)
        if "write" in chosen:
            bench_write(work, boxpaint, numpy, mesh, blocks)
        if "paint" in chosen:
            bench_paint(work, boxpaint, numpy)
        if "ensemble" in chosen:
            bench_ensemble(work, boxpaint, numpy)
    finally:
        shutil.rmtree(work)
    print("\n| job | tool | time | against the first | note |\n|---|---|---|---|---|")
    print("\n".join(ROWS))


if __name__ == "__main__":
    main()
