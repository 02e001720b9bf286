#include "bench/Bench.h"

#include "foundation/MemoryStream.h"
#include "foundation/NameList.h"
#include "foundation/StoredString.h"
#include "foundation/StringHelpers.h"
#include "foundation/zString.h"

// Archive throughput: a block of typed values and stored strings written to a growable memory stream and
// read back.
KIVO_BENCH(FoundationArchive)
{
    const int values = 10000;
    BenchReport("archive write 10000 doubles + 10000 longs", 200, [&] {
        MemoryStream out(100);
        for (int i = 0; i < values; ++i)
            out.WriteDouble(i * 0.5).WriteLong(i);
        BenchKeep(out.Position());
    });
    MemoryStream written(4096);
    for (int i = 0; i < values; ++i)
        written.WriteDouble(i * 0.5).WriteLong(i);
    BenchReport("archive read 10000 doubles + 10000 longs", 200, [&] {
        MemoryStream in(const_cast<uint8_t*>(written.Data()), written.Position(), false);
        double sum = 0;
        for (int i = 0; i < values; ++i) {
            double d = 0;
            int32_t n = 0;
            in.ReadDouble(d).ReadLong(n);
            sum += d + n;
        }
        BenchKeep(sum);
    });
    BenchReport("stored strings: write and read 1000", 200, [&] {
        MemoryStream out(4096);
        zString text("a typical variable name");
        for (int i = 0; i < 1000; ++i)
            StoreString(out, text);
        MemoryStream in(const_cast<uint8_t*>(out.Data()), out.Position(), false);
        zString read;
        for (int i = 0; i < 1000; ++i)
            LoadString(in, read);
        BenchKeep(read.Length());
    });
}

// String work: appending, replacing and substituting message arguments.
KIVO_BENCH(FoundationStrings)
{
    BenchReport("zString append 1000 short texts", 1000, [] {
        zString text;
        for (int i = 0; i < 1000; ++i)
            text += "abc ";
        BenchKeep(text.Length());
    });
    BenchReport("ReplaceAll whole words in 12 KB", 20, [] {
        zString text;
        for (int i = 0; i < 1000; ++i)
            text += "cat catalog ";
        BenchKeep(ReplaceAll(text, "cat", "dog", true, true, 0, true));
    });
    BenchReport("SubstituteArgs with two arguments", 100000, [] {
        zString message("The variable $1 is not defined at node $2.");
        SubstituteArgs(message, "pCure", "Treatment");
        BenchKeep(message.Length());
    });
    BenchReport("NameList: 1000 names stored and loaded", 100, [] {
        NameList names;
        for (int i = 0; i < 1000; ++i)
            names.AddText("name");
        MemoryStream out(4096);
        names.Serialize(out);
        MemoryStream in(const_cast<uint8_t*>(out.Data()), out.Position(), false);
        NameList read;
        read.Serialize(in);
        BenchKeep(read.Count());
    });
}
