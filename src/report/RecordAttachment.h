#pragma once
#include <QByteArray>
#include <QString>

#include <string>

namespace tensiq::report {

// A record as a PDF attachment: the file itself, or gzip-compressed when it is large, so a
// report of an hour's run stays small in memory and on disk.
struct RecordAttachment {
    QString name; // the record's name, ".gz" added when compressed
    QByteArray data;
    QString mimeType;
};

inline constexpr qint64 kAttachUncompressedUpTo = 4 * 1024 * 1024;

// Reads the file once for its SHA-256 (lowercase hex) and, when attachment is given, the
// attachment. False with a reason when the file cannot be read.
bool ReadRecordFile(const std::string& path, const std::string& name, RecordAttachment* attachment,
                    std::string& sha256, std::string& error);

} // namespace tensiq::report
