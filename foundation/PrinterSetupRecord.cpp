#include "foundation/PrinterSetupRecord.h"

#include "foundation/Archive.h"
#include "foundation/VersionRecord.h"

#include <windows.h>

#include <cstddef>
#include <cstring>
#include <new>

namespace {

void LoadBlock(Archive& archive, int16_t length, std::unique_ptr<uint8_t[]>& block)
{
    if (length <= 0 || archive.Failed())
        return;
    if (!archive.Holds(static_cast<uint32_t>(length)))
        return;
    block.reset(new (std::nothrow) uint8_t[length]);
    if (block)
        archive.ReadBytes(block.get(), static_cast<uint32_t>(length));
    else
        archive.SetState(Archive::StateIoFailure);
}

} // namespace

void PrinterSetupRecord::Serialize(Archive& archive, const VersionRecord& fileVersion)
{
    if (archive.IsStoring()) {
        archive.WriteShort(0);
        archive.WriteShort(devModeLength);
        archive.WriteShort(extraLength);
        if (devModeLength > 0)
            archive.WriteBytes(devMode.get(), static_cast<uint32_t>(devModeLength));
        if (extraLength > 0)
            archive.WriteBytes(extraBlock.get(), static_cast<uint32_t>(extraLength));
        return;
    }
    int16_t reserved = 0;
    if (fileVersion.IsAtLeast(KnownVersion::k3_0_Build10))
        archive.ReadShort(reserved);
    archive.ReadShort(devModeLength);
    archive.ReadShort(extraLength);
    LoadBlock(archive, devModeLength, devMode);
    LoadBlock(archive, extraLength, extraBlock);
    if (archive.Failed())
        devModeLength = extraLength = 0;
}

const uint8_t* PrinterSetupRecord::DevMode() const
{
    if (!devMode || devModeLength < static_cast<int16_t>(sizeof(DEVMODEA)))
        return nullptr;
    DEVMODEA header;
    std::memcpy(&header, devMode.get(), sizeof header);
    return header.dmSize + header.dmDriverExtra == devModeLength ? devMode.get() : nullptr;
}

int PrinterSetupRecord::DevModeSize(const void* deviceMode, void* destination)
{
    DEVMODEA header;
    std::memcpy(&header, deviceMode, sizeof header);
    const int size = header.dmSize + header.dmDriverExtra;
    if (destination)
        std::memcpy(destination, deviceMode, static_cast<size_t>(size));
    return size;
}

void PrinterSetupRecord::SetDevMode(const void* deviceMode)
{
    devMode.reset();
    devModeLength = 0;
    if (!deviceMode)
        return;
    const int size = DevModeSize(deviceMode, nullptr);
    if (size <= 0 || size > INT16_MAX)
        return;
    devMode.reset(new (std::nothrow) uint8_t[size]);
    if (!devMode)
        return;
    DevModeSize(deviceMode, devMode.get());
    devModeLength = static_cast<int16_t>(size);
}
