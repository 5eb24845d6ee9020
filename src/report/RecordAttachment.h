#pragma once
#include <cstdint>
#include <string>

namespace tensiq::report {

// A record as the PDF embeds it: the file itself, deflated once into the zlib stream that a
// PDF's FlateDecode filter holds, so a reader hands back the very bytes whose SHA-256 the report
// prints, and a report of an hour's run stays small in memory and on disk.
struct RecordAttachment {
    std::string name;
    std::string deflated;
    std::uint64_t size = 0; // of the file itself
};

// Reads the file once for its SHA-256 (lowercase hex) and, when attachment is given, the
// attachment. False with a reason naming the file when it cannot be read.
bool ReadRecordFile(const std::string& path, const std::string& name, RecordAttachment* attachment,
                    std::string& sha256, std::string& error);

} // namespace tensiq::report
