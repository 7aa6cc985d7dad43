"""Ensembles: many block files painted on one mesh, in processes of one machine
(concurrent.futures) and on a local Dask cluster of processes, each member as the CLI
paints it."""

from concurrent.futures import ProcessPoolExecutor
from itertools import repeat

import numpy as np
import pytest

import boxpaint

MEMBERS = 12


def make_ensemble(folder):
    """A mesh and MEMBERS block files of random blocks; returns the mesh, its file, the
    block files and their members' tables."""
    rng = np.random.default_rng(30)
    mesh = boxpaint.Mesh(rng.uniform(5, 15, 30), rng.uniform(5, 15, 20), np.full(10, 10.0),
                         origin=(0, 0, 100))
    mesh.write(folder / "mesh.txt")
    paths, tables = [], []
    for member in range(MEMBERS):
        blocks = np.column_stack([rng.uniform(-10, 400, (50, 4)), rng.uniform(-10, 110, (50, 2)),
                                  rng.lognormal(size=50)])
        paths.append(folder / f"blocks{member}.inp")
        boxpaint.write_blocks(paths[-1], 1.0, blocks)
        tables.append(blocks)
    return mesh, folder / "mesh.txt", paths, tables


def test_an_ensemble_paints_in_processes_as_the_cli_does(boxpaint_cli, tmp_path):
    mesh, mesh_path, block_paths, _ = make_ensemble(tmp_path)
    models = [tmp_path / f"model{member}.txt" for member in range(MEMBERS)]
    with ProcessPoolExecutor(2) as pool:
        list(pool.map(boxpaint.build, repeat(mesh_path), block_paths, models))
        # A member that fails raises its own failure, and the others are done all the same.
        failing = pool.submit(boxpaint.build, mesh_path, tmp_path / "missing.inp",
                              tmp_path / "never.txt")
        assert failing.exception().number == 29
    for block_path, model in zip(block_paths, models):
        assert model.read_bytes() == boxpaint_cli(mesh_path, block_path, tmp_path / "cli.txt")


@pytest.mark.filterwarnings("ignore::DeprecationWarning")  # Debian's tornado under distributed
def test_an_ensemble_paints_on_a_dask_cluster_as_in_one_process(tmp_path):
    distributed = pytest.importorskip("distributed")
    mesh, _, _, tables = make_ensemble(tmp_path)
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                  dashboard_address=None) as cluster, \
            distributed.Client(cluster) as client:
        shared = client.scatter(mesh, broadcast=True)  # sent to each worker once
        members = client.map(boxpaint.paint, [shared] * MEMBERS, [1.0] * MEMBERS, tables)
        painted = client.gather(members)
        # A failure comes back whole: a model too large for boxpaint.
        huge = boxpaint.Mesh(np.ones(2048), np.ones(2048), np.ones(1024))
        failing = client.submit(boxpaint.paint, huge, 1.0, tables[0])
        assert failing.exception().number == 179
    for model, blocks in zip(painted, tables):
        assert np.array_equal(model, boxpaint.paint(mesh, 1.0, blocks))
