#include "foundation/FileStream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

FileStream::FileStream(const char* path, bool storing) : Archive(storing)
{
    file = path ? std::fopen(path, storing ? "wb" : "rb") : nullptr;
    if (!file) {
        NoteFailure();
        return;
    }
    if (storing)
        return;
    // The size is taken once: asking the file for its end at every stored string would drop the read
    // buffer each time.
    if (std::fseek(file, 0, SEEK_END) == 0)
        fileSize = std::ftell(file);
    if (std::fseek(file, 0, SEEK_SET) != 0)
        fileSize = -1;
}

FileStream::~FileStream() { Close(); }

void FileStream::Close()
{
    if (file) {
        // Buffered bytes that cannot be flushed are a failed write. The flush is asked for on its own: the
        // runtime's close may drop the error of the flush it makes itself (a small file on a full disk).
        if (IsStoring() && (std::fflush(file) != 0 || std::ferror(file) != 0))
            NoteFailure();
        if (std::fclose(file) != 0)
            NoteFailure();
        file = nullptr;
    }
}

void FileStream::Write(const void* buffer, uint32_t size, uint32_t count)
{
    if (State() != 0)
        return;
    if (IsSwapping() && size >= 2) {
        // Writes in the other byte order, as a file from the other kind of machine holds it.
        std::vector<uint8_t> swapped(static_cast<const uint8_t*>(buffer),
                                     static_cast<const uint8_t*>(buffer) + static_cast<size_t>(size) * count);
        SwapBytes(swapped.data(), size, count);
        if (!file || std::fwrite(swapped.data(), size, count, file) < count)
            NoteFailure();
        return;
    }
    if (!file || std::fwrite(buffer, size, count, file) < count)
        NoteFailure();
}

void FileStream::NoteFailure()
{
    if (failureErrno == 0)
        failureErrno = errno != 0 ? errno : EIO;
    SetState(StateIoFailure);
}

void FileStream::Read(void* buffer, uint32_t size, uint32_t count)
{
    if (State() != 0)
        return;
    const size_t total = static_cast<size_t>(size) * count;
    if (!file || !TakeBytes(static_cast<uint8_t*>(buffer), total)) {
        SetState(StateIoFailure);
        return;
    }
    readPosition += static_cast<long>(total);
    SwapBytes(buffer, size, count);
}

bool FileStream::TakeBytes(uint8_t* out, size_t wanted)
{
    while (wanted > 0) {
        if (bufferAt == bufferEnd) {
            if (wanted >= kReadBufferSize)
                return std::fread(out, 1, wanted, file) == wanted;
            if (!readBuffer)
                readBuffer = std::make_unique<uint8_t[]>(kReadBufferSize);
            bufferAt = 0;
            bufferEnd = std::fread(readBuffer.get(), 1, kReadBufferSize, file);
            if (bufferEnd == 0)
                return false;
        }
        const size_t taken = std::min(wanted, bufferEnd - bufferAt);
        std::memcpy(out, readBuffer.get() + bufferAt, taken);
        bufferAt += taken;
        out += taken;
        wanted -= taken;
    }
    return true;
}

void FileStream::Seek(long offset, int origin)
{
    // The file stands past the buffered bytes: a seek from the current place starts at the reader's place.
    if (file && IsLoading() && origin == SEEK_CUR) {
        offset += readPosition;
        origin = SEEK_SET;
    }
    bufferAt = bufferEnd = 0;
    if (!file || std::fseek(file, offset, origin) != 0)
        SetState(StateIoFailure);
    else
        readPosition = std::ftell(file);
}

long FileStream::Tell()
{
    if (!file)
        return -1;
    return IsLoading() ? readPosition : std::ftell(file);
}

uint32_t FileStream::BytesLeft()
{
    if (!file || IsStoring() || fileSize < 0 || readPosition < 0)
        return kNoLimit;
    return fileSize > readPosition ? static_cast<uint32_t>(fileSize - readPosition) : 0;
}
