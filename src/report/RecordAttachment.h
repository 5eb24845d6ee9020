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

// False with a reason when the file cannot be read.
bool MakeRecordAttachment(const std::string& path, const std::string& name,
                          RecordAttachment& attachment, std::string& error);

// The SHA-256 of a file as lowercase hex, read as a stream; empty with a reason on failure.
std::string FileSha256(const std::string& path, std::string& error);

} // namespace tensiq::report
