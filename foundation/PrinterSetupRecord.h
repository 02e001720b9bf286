#pragma once
// A document's printer settings: the printer driver's device-mode block the user last confirmed and an
// opaque second block, both stored in the document's file and written back byte for byte.

#include <cstdint>
#include <memory>

class Archive;
class VersionRecord;

class PrinterSetupRecord {
public:
    // Stored form:
    //   reserved           i16, written as 0; read only from files of 3.0 final 10 and later
    //   devModeLength      i16
    //   extraLength        i16
    //   device-mode bytes  devModeLength bytes (when above 0)
    //   second block       extraLength bytes (when above 0)
    // Reading expects a fresh record; a length the stream cannot hold sets state 2 without allocating.
    void Serialize(Archive& archive, const VersionRecord& fileVersion);

    // The device-mode block when it may be handed to a printer driver: its length covers the fixed
    // structure and equals its own dmSize + dmDriverExtra. Else null (a block that fails the check is still
    // written back).
    const uint8_t* DevMode() const;
    // Keeps a copy of the device mode (dmSize + dmDriverExtra bytes; null: none).
    void SetDevMode(const void* deviceMode);
    // dmSize + dmDriverExtra of a device mode, copied into the destination when one is given.
    static int DevModeSize(const void* deviceMode, void* destination);

    int16_t devModeLength = 0;
    int16_t extraLength = 0;
    std::unique_ptr<uint8_t[]> devMode;
    std::unique_ptr<uint8_t[]> extraBlock;
};
