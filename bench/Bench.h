#pragma once
// Benchmark cases of kivo_bench. A case registers itself with KIVO_BENCH(name) { ... } and reports its own
// figures through BenchReport; the driver runs every case (or those whose name contains argv[1]).

#include <chrono>
#include <functional>
#include <string>
#include <vector>

struct BenchCase {
    const char* name;
    std::function<void()> run;
};

std::vector<BenchCase>& BenchCases();

struct BenchRegistrar {
    BenchRegistrar(const char* name, std::function<void()> run) { BenchCases().push_back({name, std::move(run)}); }
};

// Times `body` repeated `count` times and prints the total and the cost of one repetition.
void BenchReport(const std::string& label, long count, const std::function<void()>& body);

// Prints whether a KIVO result and the same computation written by hand agree (to a relative 1e-12) and the
// ratio of their times.
void BenchCompare(const std::string& label, double kivoValue, double plainValue, double kivoSeconds,
                  double plainSeconds);

// Prints whether every KIVO result agrees with its hand-written counterpart (to a relative 1e-12), the
// largest relative difference, and the ratio of their times.
void BenchCompareAll(const std::string& label, const std::vector<double>& kivoValues,
                     const std::vector<double>& plainValues, double kivoSeconds, double plainSeconds);

// The seconds one call of `body` takes, averaged over `repetitions` calls back to back.
double BenchSecondsEach(long repetitions, const std::function<void()>& body);

// The seconds the fastest of `repetitions` calls of `body` takes.
double BenchBestSeconds(int repetitions, const std::function<void()>& body);

// Keeps the optimiser from discarding a computed value.
void BenchKeep(double value);

#define KIVO_BENCH_JOIN2(a, b) a##b
#define KIVO_BENCH_JOIN(a, b) KIVO_BENCH_JOIN2(a, b)
#define KIVO_BENCH(name)                                                                    \
    static void KIVO_BENCH_JOIN(bench_, name)();                                            \
    static BenchRegistrar KIVO_BENCH_JOIN(registrar_, name)(#name, KIVO_BENCH_JOIN(bench_, name)); \
    static void KIVO_BENCH_JOIN(bench_, name)()
