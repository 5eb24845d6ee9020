#pragma once
#include "RecordAttachment.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tensiq::report {

// Takes the next piece of the PDF; false when it could not be written.
using PdfSink = std::function<bool(std::string_view)>;

// Writes a finished PDF followed by an incremental update that embeds the files: the document
// stays byte for byte as its writer made it, and the files' objects, a catalog naming them and
// a cross-reference section for both follow it. Each file's stream is written as it was
// deflated, once. False with the reason when the document's structure is not understood (the
// sink has then had nothing) or a piece could not be written.
bool WritePdfWithAttachments(std::string_view pdf, const std::vector<RecordAttachment>& files,
                             const PdfSink& write, std::string& error);

} // namespace tensiq::report
