#include "foundation/FileStream.h"

FileStream::FileStream(const char* path, bool storing) : Archive(storing)
{
    file = path ? std::fopen(path, storing ? "wb" : "rb") : nullptr;
    if (!file)
        SetState(StateIoFailure);
}

FileStream::~FileStream() { Close(); }

void FileStream::Close()
{
    if (file) {
        // Buffered bytes that cannot be flushed are a failed write.
        if (std::fclose(file) != 0)
            SetState(StateIoFailure);
        file = nullptr;
    }
}

void FileStream::Write(const void* buffer, uint32_t size, uint32_t count)
{
    if (State() != 0)
        return;
    if (!file || std::fwrite(buffer, size, count, file) < count)
        SetState(StateIoFailure);
}

void FileStream::Read(void* buffer, uint32_t size, uint32_t count)
{
    if (State() != 0)
        return;
    if (!file || std::fread(buffer, size, count, file) < count) {
        SetState(StateIoFailure);
        return;
    }
    SwapBytes(buffer, size, count);
}

void FileStream::Seek(long offset, int origin)
{
    if (!file || std::fseek(file, offset, origin) != 0)
        SetState(StateIoFailure);
}

long FileStream::Tell() { return file ? std::ftell(file) : -1; }

uint32_t FileStream::BytesLeft()
{
    if (!file || IsStoring())
        return kNoLimit;
    long here = std::ftell(file);
    if (here < 0 || std::fseek(file, 0, SEEK_END) != 0)
        return kNoLimit;
    long end = std::ftell(file);
    std::fseek(file, here, SEEK_SET);
    return end > here ? static_cast<uint32_t>(end - here) : 0;
}
