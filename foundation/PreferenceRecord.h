#pragma once
// A typed preference record: kept in the preferences store as a binary value (a version record and the
// record's stored form) named after its class, and written into documents the same way. Older program
// versions kept it as a text form or as individual keys, which the record can still read.

#include "foundation/VersionRecord.h"

class Archive;

class PreferenceRecord {
public:
    virtual ~PreferenceRecord() = default;

    // Reads the older text form written by `version`; false when the text does not hold the record.
    virtual bool FromText(const char* text, int flag, const VersionRecord& version) = 0;
    // The record's name: the name of its preference value and of its profile section.
    virtual const char* ClassName() const = 0;
    // Reads / writes the oldest form, individual keys of the profile section named by ClassName.
    virtual void ReadProfile() = 0;
    virtual void WriteProfile() = 0;
    // The stored form; `version` is the version record read before it (the current one when storing).
    virtual void Serialize(Archive& archive, const VersionRecord& version) = 0;
    virtual void SetDefaults() = 0;
};

// Stores the current version record and the record's stored form as the binary value named by ClassName in
// the registry section "Preferences". Returns success.
bool SavePreferences(PreferenceRecord& record);
// Loads the record from the binary value (defaults when it is damaged), else from the older text value,
// else from the individual keys; removes the older INI forms and saves the record in the binary form.
void LoadPreferences(PreferenceRecord& record);
// The record inside a document: the current version record and the stored form; streams older than
// 2.5 build 4 hold the text form as a stored string instead. Nothing happens while the archive has a
// format error.
void SerializeWithVersion(PreferenceRecord& record, Archive& archive);
