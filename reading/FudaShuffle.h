#ifndef FUDASHUFFLE_H
#define FUDASHUFFLE_H

// The reading order's shuffle. Its generator delivers 15-bit values
// (0..32767) from a seed; the order of a reading is fixed by the second of
// the day it was started in.

// Seeds the generator of the calling thread.
void SeedRandom(unsigned int seed);

// The generator's next value, 0..32767.
int NextRandom();

// low + trunc((high - low + 1) * r / 32768) for the next value r: an
// integer in low..high inclusive.
int RandInt(int low, int high);

// Shuffles fuda[0..count-1] in place (Fisher-Yates from the last element
// down), after seeding with the seconds since local midnight.
void ShuffleFuda(int *fuda, int count);

// The same with an explicit seed.
void ShuffleFudaWithSeed(int *fuda, int count, unsigned int seed);

#endif
