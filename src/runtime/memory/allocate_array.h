// Arrays of the mesh and the cell model, sized in the 32-bit arithmetic that
// bounds them.
#pragma once

#include <cstdint>
#include <initializer_list>

/// Allocates an array whose byte size is the product of `factors` and then
/// `elementSize`, formed left to right in 32-bit unsigned arithmetic with an
/// overflow check after each multiplication. Ends the run with message 179 when the
/// size overflows and with message 41 when memory is refused. The array is all zero
/// bytes; never null, even for a zero size. It lives until the process ends.
void* allocateArray(std::initializer_list<uint32_t> factors, uint32_t elementSize);

/// Checks that the byte size of an array of `factors` and then `elementSize`, formed as
/// `allocateArray` forms it, fits in 32 bits; ends the run with message 179 when it does
/// not. For a size that bounds what a run may produce, though it is never allocated.
void checkArraySize(std::initializer_list<uint32_t> factors, uint32_t elementSize);

/// Refuses arrays of more than `bytes` as the system would refuse memory; for tests
/// and the fuzzer that run the utility in-process.
void setArrayByteLimitForTests(uint64_t bytes);

/// Frees every array allocated so far; for tests that run the utility in-process
/// again after a hooked end.
void releaseArraysForTests();
