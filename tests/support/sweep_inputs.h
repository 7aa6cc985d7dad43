// The inputs of a fault sweep's model runs: a mesh of unit cells and one block per
// easting-northing column, each of a value of its own, so that no stretch of the model
// repeats another and a record handed over twice shows.
#pragma once

#include <string>

/// True when BOXPAINT_SWEEP=full asks for the long sweep.
bool fullSweep();

/// The cell counts of the swept model: 100 x 100 x 80 (150 x 150 x 80 for the long sweep),
/// or as BOXPAINT_SWEEP_MESH="NE NN NZ" says. Its 9.6 MB run past the first stretch that
/// the producer writes itself, so that the writer thread is swept too.
void sweptMeshCounts(int& ne, int& nn, int& nz);

/// The mesh file of a model of `ne` x `nn` x `nz` unit cells.
std::string sweptMeshText(int ne, int nn, int nz);

/// The block file that gives each column of that model a value of its own.
std::string sweptBlockText(int ne, int nn, int nz);
