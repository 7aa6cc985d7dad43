// Arrays of the mesh, sized in the 32-bit arithmetic that bounds them.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "runtime/diagnostics/failure.h"

/// Allocates an array whose byte size is the product of `factors` and then `elementSize`,
/// formed left to right in 32-bit unsigned arithmetic with an overflow check after each
/// multiplication. The array is all zero bytes, and has an address of its own even for a
/// zero size; its owner gives it back with `releaseArray`. nullptr with `failure` set to
/// 179 when the size overflows, to 41 when memory is refused.
void* allocateArray(std::initializer_list<uint32_t> factors, uint32_t elementSize,
                    Failure& failure);

/// Gives back an array from `allocateArray`; nullptr does nothing.
void releaseArray(void* array);

/// Checks that the byte size of an array of `factors` and then `elementSize`, formed as
/// `allocateArray` forms it, fits in 32 bits: no failure, or 179 when it does not. For a
/// size that bounds what a run may produce, though it is never allocated.
Failure checkArraySize(std::initializer_list<uint32_t> factors, uint32_t elementSize);

/// Refuses arrays of more than `bytes` as the system would refuse memory; for tests and
/// the fuzzer that run the utility in-process. Process-wide.
void setArrayByteLimitForTests(uint64_t bytes);
