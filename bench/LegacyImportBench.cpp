// Importing an older-format text tree of 100,000 node records: a chance tree in which every inner record
// names ten children by "TO:" lines, so each record is looked up once by its header and once as a target.

#include "bench/Bench.h"

#include "model/LegacyTreeImporter.h"
#include "model/TreeDocument.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

constexpr long kRecords = 100000;
constexpr long kFanOut = 10;

std::string LegacyText()
{
    std::string text;
    for (long i = 0; i < kRecords; ++i) {
        const long firstChild = i * kFanOut + 1;
        if (firstChild < kRecords) {
            text += "N" + std::to_string(i) + "(C)\r\n";
            for (long child = firstChild; child < firstChild + kFanOut && child < kRecords; ++child)
                text += "TO: N" + std::to_string(child) + "\r\nP: 0.1\r\n-\r\n";
        } else {
            text += "N" + std::to_string(i) + "(T)\r\nU: = 1\r\n";
        }
        text += "=\r\n";
    }
    return text + "==========\r\n==========\r\n==========\r\n";
}

}  // namespace

KIVO_BENCH(LegacyImport)
{
    const std::string text = LegacyText();
    TreeDocument document;
    LegacyImportOptions options;
    const auto start = std::chrono::steady_clock::now();
    LegacyTreeImporter importer(text.c_str(), &document, options);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("older text import of %ld records (%.1f MB): %.3f s%s\n", kRecords, text.size() / 1048576.0, seconds,
                importer.ErrorCode() != 0 ? " (failed)" : "");
}
