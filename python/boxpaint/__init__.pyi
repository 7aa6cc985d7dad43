"""Type stubs of boxpaint: three-dimensional earth models on rectilinear meshes."""

import os
from typing import Any, Optional, Tuple, Union

import numpy as np
import numpy.typing as npt

_Path = Union[str, bytes, os.PathLike]
_Floats = npt.ArrayLike
_Array = npt.NDArray[np.float64]

__version__: str

class Error(Exception):
    """A failure boxpaint reports by number."""

    number: int
    text: str
    file: Optional[str]
    line: Optional[int]
    def __init__(
        self, number: int, text: str, file: Optional[str] = ..., line: Optional[int] = ...
    ) -> None: ...

class FileMissingError(Error, FileNotFoundError):
    """An input file that does not exist (message 29)."""

class Mesh:
    """A rectilinear mesh: cell widths along easting, northing and elevation from a first
    node; node coordinates exactly as boxpaint computes them."""

    def __init__(
        self,
        easting: _Floats,
        northing: _Floats,
        elevation: _Floats,
        origin: Tuple[float, float, float] = (0.0, 0.0, 0.0),
    ) -> None: ...
    @property
    def counts(self) -> Tuple[int, int, int]:
        """Cells along easting, northing and elevation."""
    @property
    def origin(self) -> Tuple[float, float, float]:
        """The first node: easting, northing and the top of the mesh."""
    @property
    def widths(self) -> Tuple[_Array, _Array, _Array]:
        """Cell widths along each axis (elevation: thicknesses from the top down)."""
    @property
    def nodes(self) -> Tuple[_Array, _Array, _Array]:
        """Node coordinates along each axis, as boxpaint computes them."""
    @property
    def centres(self) -> Tuple[_Array, _Array, _Array]:
        """Cell centres along each axis."""
    @property
    def shape(self) -> Tuple[int, int, int]:
        """The shape of a model of the mesh: (northing, easting, elevation)."""
    @property
    def size(self) -> int:
        """The number of cells."""
    def write(self, path: _Path) -> None:
        """Writes a mesh file that boxpaint reads back to the same numbers."""

def paint(mesh: Mesh, background: float, blocks: _Floats) -> _Array:
    """The model of `mesh` painted with the (N, 7) blocks over `background`, shaped
    mesh.shape, equal to boxpaint's model file read back."""

def write_model(path: _Path, values: _Floats, terminator: str = "\r\n") -> None:
    """Writes the model file of `values` exactly as boxpaint writes it."""

def render_model(values: _Floats, terminator: str = "\r\n") -> bytes:
    """The bytes write_model writes for `values`."""

def write_blocks(path: _Path, background: float, blocks: _Floats) -> None:
    """Writes a block file that boxpaint reads back to the same numbers."""

def read_mesh(path: _Path) -> Mesh:
    """Reads a mesh file as boxpaint does."""

def read_blocks(path: _Path) -> Tuple[float, _Array]:
    """Reads a block file as boxpaint does: (background, (N, 7) blocks)."""

def read_model(path: _Path, mesh: Mesh) -> _Array:
    """Reads the model file of `mesh`, shaped mesh.shape."""

def build(mesh_path: _Path, block_path: _Path, model_path: _Path) -> None:
    """Does what `boxpaint mesh_path block_path model_path` does."""

def check(
    mesh_path: _Path, block_path: _Path, model_path: Optional[_Path] = ...
) -> dict[str, Any]:
    """The report of `boxpaint-check --json`, as a dict."""

def write_vtr(path: _Path, mesh: Mesh, values: _Floats, name: str = "value") -> None:
    """Writes `values` on `mesh` as a VTK rectilinear grid, as boxpaint-view does."""
