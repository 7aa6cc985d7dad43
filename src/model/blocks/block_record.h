// One block of the block file as read: six bounds and a value.
#pragma once

/// One block: its bounds along easting, northing and elevation, in either order, and the
/// value its cells take.
struct BlockRecord {
  double e1 = 0, e2 = 0, n1 = 0, n2 = 0, z1 = 0, z2 = 0, value = 0;
};
