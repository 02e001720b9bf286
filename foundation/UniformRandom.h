#pragma once
// Uniform samples on [a, b] from the program's random generator: 32768 distinct results, b itself included.

double UniformRandom(double a, double b);
