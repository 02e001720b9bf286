#pragma once
// The version of the program that wrote a stored record: major, minor, release, build and beta number,
// compared through one packed 32-bit key and stored as three bytes.

#include <cstdint>

class Archive;
class zString;

// Keys of the known earlier versions against which readers test.
namespace KnownVersion {
constexpr int32_t k2_5 = 0x20500;
constexpr int32_t k2_5_Build4 = 0x20504;
constexpr int32_t k2_5_Build5 = 0x20505;
constexpr int32_t k2_6 = 0x20600;
constexpr int32_t k2_6_Beta1 = 0x206B1;
constexpr int32_t k2_6_Beta2 = 0x206B2;
constexpr int32_t k2_6_Beta3 = 0x206B3;
constexpr int32_t k2_6_Beta4 = 0x206B4;
constexpr int32_t k2_6_Beta5 = 0x206B5;
constexpr int32_t k2_6_Build2 = 0x206E2;
constexpr int32_t k3_0 = 0x30000;
constexpr int32_t k3_0_Beta2 = 0x300B2;
constexpr int32_t k3_0_Beta4 = 0x300B4;
constexpr int32_t k3_0_Beta7 = 0x300B7;
constexpr int32_t k3_0_Beta9 = 0x300B9;
constexpr int32_t k3_0_Build4 = 0x300E4;
constexpr int32_t k3_0_Build9 = 0x300E9;
constexpr int32_t k3_0_Build10 = 0x300EA;
constexpr int32_t k3_5 = 0x30500;
constexpr int32_t k3_5_Beta2 = 0x305B2;
constexpr int32_t k3_5_Beta4 = 0x305B4;
constexpr int32_t k3_5_Beta6 = 0x305B6;
// The current version, 3.5 (release 6).
constexpr int32_t kCurrent = 0x305E0;

constexpr int32_t kAll[] = {k2_5, k2_5_Build4, k2_5_Build5, k2_6, k2_6_Beta1, k2_6_Beta2, k2_6_Beta3,
                            k2_6_Beta4, k2_6_Beta5, k2_6_Build2, k3_0, k3_0_Beta2, k3_0_Beta4, k3_0_Beta7,
                            k3_0_Beta9, k3_0_Build4, k3_0_Build9, k3_0_Build10, k3_5, k3_5_Beta2,
                            k3_5_Beta4, k3_5_Beta6};
}  // namespace KnownVersion

class VersionRecord {
public:
    // The current version: 3.5, release 6, build 0, no beta.
    VersionRecord();
    // Release and build both take the third number; no beta.
    VersionRecord(int major, int minor, int build);

    // key = major << 16 | minor << 8 | low byte, where the low byte is 0xB0 | beta for a beta, the build
    // for versions before 2.6, else 0xE0 | build (betas sort before final builds of the same version).
    void Pack();
    void SetFromKey(int32_t key);

    int32_t Key() const { return key; }
    int Major() const { return (key >> 16) & 0xFF; }
    int Minor() const { return (key >> 8) & 0xFF; }
    int LowNibble() const { return key & 15; }
    bool IsBetaKey() const { return (key & 0xF0) == 0xB0; }
    int Release() const { return release; }
    int Build() const { return build; }
    int Beta() const { return beta; }

    bool IsOlderThan(int32_t k) const { return key < k; }
    bool IsKey(int32_t k) const { return key == k; }
    bool IsNewerThan(int32_t k) const { return key > k; }
    bool IsAtMost(int32_t k) const { return key <= k; }
    bool IsAtLeast(int32_t k) const { return key >= k; }
    bool IsNewerThanRecord(const VersionRecord& other) const { return key > other.key; }

    // Stored form (3 bytes): major, minor, then 0xB0 + beta for a beta, else the build. Reading a major
    // outside 2..10 or a minor above 15 sets format error 32; the first record read names the version of
    // the whole stream (the archive's file version). Nothing happens while the archive has a format error.
    void Serialize(Archive& archive);
    // The three stored bytes, as Serialize writes them.
    void StoredBytes(uint8_t bytes[3]) const;

    // major "." minor, then "." and the build (useBuild) or the release when above 0, then "b" and the beta
    // number for a beta; without useBuild followed by " / 32-bit".
    void ToText(zString& text, bool useBuild) const;
    // Reads "%d.%d.b%d" (beta), "%d.%d.f%d" (final build) or "%d.%d.%d" (build), the first that yields all
    // three numbers; fields that the form does not name keep their values. False when none matches.
    bool Parse(const char* text);

    // The current version, written by every writer.
    static const VersionRecord& Current();

private:
    uint8_t major;
    uint8_t minor;
    uint8_t release;
    uint8_t build;
    uint8_t beta;
    int32_t key;
};
