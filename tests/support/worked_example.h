// The small model build the end-to-end tests share: three cells along easting (nodes
// 0, 10, 20, 30), two along northing (0, 10, 20) and two along elevation (100, 90, 80);
// one block paints cells i 1..2, j 2..3, k 1 with 7 over a background of 0.
#pragma once

#include <string>

#include "support/run_boxpaint.h"

inline const char kMesh[] = "3 2 2\n0 0 100\n10 10 10\n10 10\n10 10\n";
inline const char kBlocks[] = "0\n1\n10 30 0 10 80 100 7\n";
inline const std::string kModel = crlfRecords(
    {" 0.000E+00", " 0.000E+00", " 7.000E+00", " 7.000E+00", " 7.000E+00", " 7.000E+00",
     " 0.000E+00", " 0.000E+00", " 0.000E+00", " 0.000E+00", " 0.000E+00", " 0.000E+00"});
