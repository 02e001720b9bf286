#include "bench/Bench.h"

#include "app/StartProgram.h"

#include <cmath>
#include <cstdio>
#include <cstring>

std::vector<BenchCase>& BenchCases()
{
    static std::vector<BenchCase> cases;
    return cases;
}

static volatile double benchSink;

void BenchKeep(double value)
{
    benchSink = value;
}

void BenchReport(const std::string& label, long count, const std::function<void()>& body)
{
    using Clock = std::chrono::steady_clock;
    Clock::time_point start = Clock::now();
    for (long i = 0; i < count; ++i)
        body();
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    double each = count > 0 ? seconds / count : 0.0;
    std::printf("%-48s %10ld runs %10.3f ms total %12.1f ns each %14.0f per second\n", label.c_str(), count,
                seconds * 1e3, each * 1e9, each > 0 ? 1.0 / each : 0.0);
    std::fflush(stdout);
}

void BenchCompare(const std::string& label, double kivoValue, double plainValue, double kivoSeconds,
                  double plainSeconds)
{
    const double scale = std::fabs(plainValue) > 1.0 ? std::fabs(plainValue) : 1.0;
    const bool agree = std::fabs(kivoValue - plainValue) <= 1e-12 * scale;
    std::printf("%s: KIVO %.12g, hand-written %.12g (%s); KIVO / hand-written time %.1f x\n", label.c_str(),
                kivoValue, plainValue, agree ? "agree" : "DIFFER", plainSeconds > 0 ? kivoSeconds / plainSeconds : 0.0);
    std::fflush(stdout);
}

void BenchCompareAll(const std::string& label, const std::vector<double>& kivoValues,
                     const std::vector<double>& plainValues, double kivoSeconds, double plainSeconds)
{
    double worst = kivoValues.size() == plainValues.size() ? 0.0 : 1.0;
    for (size_t i = 0; i < kivoValues.size() && i < plainValues.size(); ++i) {
        const double scale = std::fabs(plainValues[i]) > 1.0 ? std::fabs(plainValues[i]) : 1.0;
        const double difference = std::fabs(kivoValues[i] - plainValues[i]) / scale;
        if (!(difference <= worst))
            worst = difference;
    }
    std::printf("%s: %zu results %s (largest relative difference %.1e); KIVO / hand-written time %.1f x\n",
                label.c_str(), kivoValues.size(), worst <= 1e-12 ? "agree" : "DIFFER", worst,
                plainSeconds > 0 ? kivoSeconds / plainSeconds : 0.0);
    std::fflush(stdout);
}

double BenchSecondsEach(long repetitions, const std::function<void()>& body)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    for (long i = 0; i < repetitions; ++i)
        body();
    return std::chrono::duration<double>(Clock::now() - start).count() / static_cast<double>(repetitions);
}

double BenchBestSeconds(int repetitions, const std::function<void()>& body)
{
    double best = 0.0;
    for (int i = 0; i < repetitions; ++i) {
        const double seconds = BenchSecondsEach(1, body);
        if (i == 0 || seconds < best)
            best = seconds;
    }
    return best;
}

int main(int argc, char** argv)
{
    const char* filter = argc > 1 ? argv[1] : nullptr;
    // The program's objects, none made: a case makes what it needs.
    ProgramApp program;
    for (const BenchCase& bench : BenchCases()) {
        if (filter && !std::strstr(bench.name, filter))
            continue;
        std::printf("== %s\n", bench.name);
        bench.run();
    }
    return 0;
}
