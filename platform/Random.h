#pragma once
// The random source behind unique numbers and download file names. Seeded
// from the system's entropy, so a new start does not repeat the last one's draws.

#include <QtGlobal>

// The next number from 0 up to but not including 1.
double Random_Next();

// A whole number from low to high, both included.
qint64 Random_Between(qint64 low, qint64 high);

// Test seam: restart the sequence from a fixed seed.
void Random_Seed(quint64 seed);
