// The model: one value per mesh cell, painted from blocks, written and read as a model
// file of one 10-character record per cell.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "boxpaint/blocks.h"
#include "boxpaint/failure.h"
#include "boxpaint/mesh.h"

namespace boxpaint {

/// How each record of a model file ends: CR LF unless boxpaint's record-terminator
/// switch says otherwise.
enum class Terminator { CRLF, LF, CR };

/// Characters of a value's text in a record: the value right-justified in 10.
constexpr size_t kValueWidth = 10;

/// Bytes of one record: the value's text, then `terminator`.
size_t recordLength(Terminator terminator);

/// The number of cells of `mesh`'s model: the product of max(n, 0) over the three axes.
int64_t modelCellCount(const Mesh& mesh);

/// Fails with message 179 when boxpaint refuses the model of `mesh` as too large: its size
/// as doubles overflows the 32-bit arithmetic that bounds it.
Failure checkModelSize(const Mesh& mesh);

/// Paints the model of `mesh` into `cells` (modelCellCount(mesh) of them), elevation
/// index fastest, then easting, then northing, as boxpaint orders its model file: every
/// cell starts at `background` and each block, in order, takes the cells between the
/// nodes nearest its bounds. Each cell holds the value its record reads back as
/// (recordedValue), so that the array equals boxpaint's model file read back. Fails with
/// message 179 for a model boxpaint refuses as too large, kBadArgument when `cells` has
/// another length. Runs in parallel with other calls.
Failure paintModel(const Mesh& mesh, double background, std::span<const Block> blocks,
                   std::span<double> cells, const CallControl* control = nullptr);

/// The value the record of `value` reads back as: rounded to four significant digits,
/// a negative zero made zero, the text of the largest doubles read as the largest double.
double recordedValue(double value);

/// Writes the records of `values` to `out`, values.size() * recordLength(terminator)
/// bytes, exactly as boxpaint writes them.
void renderModelRecords(std::span<const double> values, Terminator terminator, char* out);

/// Writes the model file `path` of `values`, one record each, exactly as boxpaint writes
/// it, and opened as boxpaint opens its model file: a device name such as CON writes to
/// the standard output, and a file another writer holds is refused with 30 and left as
/// it is. An existing file is cut just before the first records take its place; after a
/// failure (38 for a refused write) or a stop it holds whole records only.
Failure writeModel(const std::string& path, std::span<const double> values,
                   Terminator terminator = Terminator::CRLF, const CallControl* control = nullptr);

/// Reads the model file `path` of `mesh` into `cells` (modelCellCount(mesh) of them), as
/// boxpaint-view reads it: every form boxpaint writes, and files of one number per line
/// that other tools write. Another number of records than cells, or a record that is not
/// one number, fails with kFileFailure naming the record; a file that cannot be opened
/// with the open's message (29 not found, ...).
Failure readModel(const std::string& path, const Mesh& mesh, std::span<double> cells,
                  const CallControl* control = nullptr);

/// Does what `boxpaint meshPath blockPath modelPath` does: the same model file, the same
/// failures, returned; an input file that cannot be opened, which boxpaint reports on its
/// console before it stops with status 0, fails with the open's message (29 not found).
/// Names are of at most 200 characters, as boxpaint takes them (kBadArgument for longer
/// ones). The run works on a thread of its own; a stop takes effect between pieces of the
/// model file, which then holds whole records.
Failure buildModel(const std::string& meshPath, const std::string& blockPath,
                   const std::string& modelPath, const CallControl* control = nullptr);

}  // namespace boxpaint
