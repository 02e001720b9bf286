#pragma once
// Gathers the fixed-size fields of a node record and writes each run of them in one archive write. The
// bytes are those the archive's own WriteByte, WriteShort, WriteLong and WriteDouble store (each value
// byte-swapped when the archive swaps). A field that writes itself (a string, an expression, a font,
// a nested list) takes the archive through Nested(), which first writes the fields gathered so far.

#include "foundation/Archive.h"

#include <cstdint>
#include <cstring>

class RecordFieldWriter {
public:
    explicit RecordFieldWriter(Archive& target) : archive(target) {}
    ~RecordFieldWriter() { Flush(); }
    RecordFieldWriter(const RecordFieldWriter&) = delete;
    RecordFieldWriter& operator=(const RecordFieldWriter&) = delete;

    RecordFieldWriter& Byte(uint8_t value) { return Put(&value, sizeof value); }
    RecordFieldWriter& Short(int16_t value) { return Put(&value, sizeof value); }
    RecordFieldWriter& Long(int32_t value) { return Put(&value, sizeof value); }
    RecordFieldWriter& Double(double value) { return Put(&value, sizeof value); }
    RecordFieldWriter& Bytes(const uint8_t* values, uint32_t count)
    {
        for (uint32_t i = 0; i < count; ++i)
            Byte(values[i]);
        return *this;
    }

    // The archive, with every gathered field written.
    Archive& Nested()
    {
        Flush();
        return archive;
    }

    void Flush()
    {
        if (used > 0)
            archive.WriteBytes(pending, used);
        used = 0;
    }

private:
    RecordFieldWriter& Put(const void* value, uint32_t size)
    {
        if (used + size > sizeof pending)
            Flush();
        std::memcpy(pending + used, value, size);
        if (archive.IsSwapping())
            archive.SwapBytes(pending + used, size, 1);
        used += size;
        return *this;
    }

    Archive& archive;
    uint8_t pending[128];
    uint32_t used = 0;
};
