// A first pass over the model file. It counts the records, so that a model that does not
// fit the mesh is refused before any value is read and so that record i is known to hold
// value i; and it finds the records that hold the text of the largest doubles.
#pragma once

#include <cstdint>
#include <vector>

/// A record holding "1.798+308" or "-1.798+308": the model writer's text of a value of
/// magnitude 1.7975e308 up to the largest double. Read as a number, the text lies beyond
/// the largest double and the free-form reader refuses it.
struct LargestValueRecord {
  int64_t line = 0;  // record number, from 1
  bool negative = false;
};

/// What the first pass found.
struct ModelRecordScan {
  int64_t records = 0;                      // records up to the last one holding a non-blank byte
  int64_t firstBlank = 0;                   // number of the first blank record among those; 0: none
  std::vector<LargestValueRecord> largest;  // in record order
  int readError = 0;                        // errno of a read that failed; 0: none
};

/// Scans the file open on `fd` from its start, without moving its file offset. A record
/// ends at a line feed; one holding only blanks, tabs and carriage returns is blank; a
/// record holding only the byte 0x1A ends the file, as it does for the free-form reader.
ModelRecordScan scanModelRecords(int fd);
