// Records embedded in a finished PDF by an incremental update, read back with qpdf and poppler;
// and the record read once for its digest and its deflated copy.
#include "PdfAttachmentUpdate.h"
#include "RunTool.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace tensiq::report {
namespace {

namespace fs = std::filesystem;

// A one-page PDF with a classic cross-reference table, as Qt's writer makes them.
std::string MinimalPdf(const std::string& catalogExtra = "") {
    std::string pdf = "%PDF-1.4\n";
    std::vector<std::size_t> offsets;
    auto object = [&](const std::string& body) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(offsets.size()) + " 0 obj\n" + body + "\nendobj\n";
    };
    object("<<\n/Title (t)\n>>");
    object("<<\n/Type /Catalog\n/Pages 3 0 R\n" + catalogExtra + ">>");
    object("<<\n/Type /Pages\n/Kids [4 0 R]\n/Count 1\n>>");
    object("<<\n/Type /Page\n/Parent 3 0 R\n/MediaBox [0 0 595 842]\n>>");
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 5\n0000000000 65535 f \n";
    char entry[24];
    for (std::size_t o : offsets) {
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", o);
        pdf += entry;
    }
    pdf += "trailer\n<<\n/Size 5 \n/Info 1 0 R\n/Root 2 0 R\n>>\nstartxref\n" +
           std::to_string(xref) + " \n%%EOF\n";
    return pdf;
}

class EmbeddedRecords : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tensiq-embed-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    RecordAttachment Record(const std::string& file, const std::string& name,
                            const std::string& text) {
        const fs::path path = m_dir / file;
        std::ofstream(path, std::ios::binary) << text;
        RecordAttachment a;
        std::string sha256, error;
        EXPECT_TRUE(ReadRecordFile(path.string(), name, &a, sha256, error)) << error;
        EXPECT_EQ(sha256, test::RunTool("sha256sum " + path.string()).out.substr(0, 64));
        return a;
    }

    static std::string Write(const std::string& pdf, const std::vector<RecordAttachment>& files,
                             bool& ok, std::string& error) {
        std::string out;
        ok = WritePdfWithAttachments(
            pdf, files,
            [&out](std::string_view piece) {
                out += piece;
                return true;
            },
            error);
        return out;
    }

    fs::path m_dir;
};

std::string Records(std::size_t lines, unsigned seed) {
    std::mt19937 random(seed);
    std::string text = "08.12.2026 09:00:00\n";
    for (std::size_t i = 0; i < lines; ++i) {
        for (int k = 0; k < 12; ++k)
            text += std::to_string(900 + static_cast<int>(random() % 200)) + ';';
        text += '\n';
    }
    return text;
}

TEST_F(EmbeddedRecords, EveryRecordComesBackByteForByteUnderItsName) {
    // Two records of one name (found and left in different folders), one of several MB, and a
    // name beyond ASCII.
    const std::string big = Records(100000, 1), small = Records(10, 2);
    const std::vector<RecordAttachment> files = {Record("a.txt", "Messung Straße 电梯.txt", big),
                                                 Record("b.txt", "Messung Straße 电梯.txt", small),
                                                 Record("c.txt", "empty.txt", "")};
    EXPECT_LT(files[0].deflated.size(), big.size() / 2);
    EXPECT_EQ(files[0].size, big.size());

    const std::string original = MinimalPdf();
    bool ok = false;
    std::string error;
    const std::string pdf = Write(original, files, ok, error);
    ASSERT_TRUE(ok) << error;
    EXPECT_EQ(pdf.compare(0, original.size(), original), 0) << "the document is kept as written";

    const fs::path path = m_dir / "r.pdf";
    std::ofstream(path, std::ios::binary) << pdf;
    const test::ToolResult check = test::RunTool("qpdf --check " + path.string());
    EXPECT_EQ(check.status, 0) << check.out;
    EXPECT_EQ(check.out.find("WARNING"), std::string::npos) << check.out;
    const test::ToolResult list = test::RunTool("pdfdetach -list " + path.string());
    EXPECT_NE(list.out.find("3 embedded files"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("1: Messung Straße 电梯.txt"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("3: empty.txt"), std::string::npos) << list.out;
    const std::string texts[] = {big, small, ""};
    for (int i = 0; i < 3; ++i) {
        const fs::path back = m_dir / ("back" + std::to_string(i));
        const test::ToolResult save = test::RunTool("pdfdetach -save " + std::to_string(i + 1) +
                                                    " -o " + back.string() + " " + path.string());
        EXPECT_EQ(save.status, 0) << save.out;
        EXPECT_TRUE(test::ReadFile(back.string()) == texts[i]) << "record " << i + 1;
    }
}

TEST_F(EmbeddedRecords, ADocumentNotUnderstoodGetsNothingAndSaysWhy) {
    const RecordAttachment file = Record("a.txt", "a.txt", Records(3, 3));
    std::string cut = MinimalPdf();
    cut.resize(cut.rfind("startxref"));
    std::string badOffset = MinimalPdf();
    badOffset.replace(badOffset.rfind("startxref") + 10, 2, "99");
    for (const std::string& pdf :
         {std::string("not a PDF"), std::string(), cut, badOffset, MinimalPdf("/Names 9 0 R\n")}) {
        bool ok = true;
        std::string error;
        const std::string out = Write(pdf, {file}, ok, error);
        EXPECT_FALSE(ok);
        EXPECT_TRUE(out.empty()) << pdf;
        EXPECT_NE(error.find("PDF"), std::string::npos) << error;
    }
}

TEST_F(EmbeddedRecords, AFailedWriteStopsAndIsTold) {
    const RecordAttachment file = Record("a.txt", "a.txt", Records(3, 4));
    for (int failAt = 1; failAt <= 6; ++failAt) {
        int pieces = 0;
        std::string error;
        const bool ok = WritePdfWithAttachments(
            MinimalPdf(), {file}, [&](std::string_view) { return ++pieces < failAt; }, error);
        EXPECT_FALSE(ok) << failAt;
        EXPECT_EQ(pieces, failAt) << "nothing is written after a failure";
        EXPECT_EQ(error, "the PDF cannot be written");
    }
}

TEST_F(EmbeddedRecords, TheDeflatedCopyIsTheFile) {
    const std::string text = Records(5000, 5);
    const RecordAttachment a = Record("r.txt", "r.txt", text);
    std::string back(text.size(), '\0');
    uLongf size = static_cast<uLongf>(back.size());
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(back.data()), &size,
                         reinterpret_cast<const Bytef*>(a.deflated.data()),
                         static_cast<uLong>(a.deflated.size())),
              Z_OK);
    EXPECT_EQ(size, text.size());
    EXPECT_TRUE(back == text);

    // The digest alone, without a copy; a folder and a missing file are named.
    std::string sha256, error;
    std::ofstream(m_dir / "abc.txt") << "abc";
    ASSERT_TRUE(ReadRecordFile((m_dir / "abc.txt").string(), "abc.txt", nullptr, sha256, error));
    EXPECT_EQ(sha256, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    RecordAttachment none;
    EXPECT_FALSE(ReadRecordFile(m_dir.string(), "d", &none, sha256, error));
    EXPECT_NE(error.find("Is a directory"), std::string::npos) << error;
    EXPECT_FALSE(ReadRecordFile((m_dir / "gone.txt").string(), "gone.txt", &none, sha256, error));
    EXPECT_NE(error.find("gone.txt"), std::string::npos) << error;
}

} // namespace
} // namespace tensiq::report
