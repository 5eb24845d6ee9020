#include "PdfAttachmentUpdate.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace tensiq::report {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

std::size_t SkipSpace(std::string_view s, std::size_t at) {
    while (at < s.size() && IsSpace(s[at]))
        ++at;
    return at;
}

// The unsigned number at `at` after white space; `at` moves past it.
std::optional<std::uint64_t> Number(std::string_view s, std::size_t& at) {
    at = SkipSpace(s, at);
    std::uint64_t value = 0;
    const auto [end, ec] = std::from_chars(s.data() + at, s.data() + s.size(), value);
    if (ec != std::errc{})
        return std::nullopt;
    at = static_cast<std::size_t>(end - s.data());
    return value;
}

// The object number after `key` in a dictionary's text, as in "/Root 2 0 R".
std::optional<std::uint64_t> Reference(std::string_view dict, std::string_view key) {
    std::size_t at = dict.find(key);
    if (at == std::string_view::npos)
        return std::nullopt;
    at += key.size();
    return Number(dict, at);
}

struct Structure {
    std::uint64_t xref = 0; // offset of the last cross-reference section
    std::uint64_t size = 0; // the trailer's object count
    std::uint64_t root = 0;
    std::optional<std::uint64_t> info;
    std::string_view id;      // "/ID [...]" as written, or empty
    std::string_view catalog; // the catalog's dictionary, "<<" to ">>"
};

// The offset of object `number` in the classic cross-reference table at `xref`.
std::optional<std::uint64_t> ObjectOffset(std::string_view pdf, std::uint64_t xref,
                                          std::uint64_t number) {
    std::size_t at = SkipSpace(pdf, static_cast<std::size_t>(xref));
    if (pdf.substr(at, 4) != "xref")
        return std::nullopt;
    at += 4;
    for (;;) {
        std::size_t probe = SkipSpace(pdf, at);
        if (pdf.substr(probe, 7) == "trailer")
            return std::nullopt;
        const auto first = Number(pdf, at);
        const auto count = Number(pdf, at);
        if (!first || !count)
            return std::nullopt;
        at = SkipSpace(pdf, at);
        constexpr std::size_t kEntry = 20;
        if (number >= *first && number < *first + *count) {
            std::size_t entry = at + static_cast<std::size_t>(number - *first) * kEntry;
            if (entry + kEntry > pdf.size() || pdf[entry + 17] != 'n')
                return std::nullopt;
            return Number(pdf, entry);
        }
        at += static_cast<std::size_t>(*count) * kEntry;
        if (at > pdf.size())
            return std::nullopt;
    }
}

// The dictionary that starts at or after `at`, with the dictionaries nested in it.
std::optional<std::string_view> Dictionary(std::string_view s, std::size_t at) {
    at = s.find("<<", at);
    if (at == std::string_view::npos)
        return std::nullopt;
    int depth = 0;
    for (std::size_t i = at; i + 1 < s.size(); ++i) {
        if (s[i] == '<' && s[i + 1] == '<') {
            ++depth;
            ++i;
        } else if (s[i] == '>' && s[i + 1] == '>') {
            ++i;
            if (--depth == 0)
                return s.substr(at, i + 1 - at);
        }
    }
    return std::nullopt;
}

std::optional<Structure> Read(std::string_view pdf, std::string& error) {
    error = "the PDF's structure is not understood";
    Structure st;
    std::size_t at = pdf.rfind("startxref");
    if (at == std::string_view::npos)
        return std::nullopt;
    at += 9;
    const auto xref = Number(pdf, at);
    if (!xref || *xref >= pdf.size())
        return std::nullopt;
    st.xref = *xref;
    const std::size_t trailerAt = pdf.find("trailer", static_cast<std::size_t>(st.xref));
    if (trailerAt == std::string_view::npos)
        return std::nullopt;
    const auto trailer = Dictionary(pdf, trailerAt);
    const auto size = trailer ? Reference(*trailer, "/Size") : std::nullopt;
    const auto root = trailer ? Reference(*trailer, "/Root") : std::nullopt;
    if (!size || !root || trailer->find("/Prev") != std::string_view::npos ||
        trailer->find("/Encrypt") != std::string_view::npos)
        return std::nullopt;
    st.size = *size;
    st.root = *root;
    st.info = Reference(*trailer, "/Info");
    if (const std::size_t id = trailer->find("/ID"); id != std::string_view::npos) {
        const std::size_t end = trailer->find(']', id);
        if (end == std::string_view::npos)
            return std::nullopt;
        st.id = trailer->substr(id, end + 1 - id);
    }
    const auto offset = ObjectOffset(pdf, st.xref, st.root);
    if (!offset || *offset >= pdf.size())
        return std::nullopt;
    const auto catalog = Dictionary(pdf, static_cast<std::size_t>(*offset));
    if (!catalog || catalog->find("/Catalog") == std::string_view::npos)
        return std::nullopt;
    if (catalog->find("/Names") != std::string_view::npos) {
        error = "the PDF names its own attachments already";
        return std::nullopt;
    }
    st.catalog = *catalog;
    error.clear();
    return st;
}

void AppendHex(std::string& out, unsigned char c) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += kHex[c >> 4];
    out += kHex[c & 15];
}

// A PDF text string for a UTF-8 name: UTF-16BE with its byte-order mark, as a hex string.
std::string TextString(std::string_view utf8) {
    std::string out = "<FEFF";
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        std::uint32_t cp = 0xFFFD;
        int extra = 0;
        if (c < 0x80)
            cp = c;
        else if ((c & 0xE0) == 0xC0)
            cp = c & 0x1F, extra = 1;
        else if ((c & 0xF0) == 0xE0)
            cp = c & 0x0F, extra = 2;
        else if ((c & 0xF8) == 0xF0)
            cp = c & 0x07, extra = 3;
        ++i;
        for (int k = 0; k < extra; ++k, ++i) {
            if (i >= utf8.size() || (static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
                cp = 0xFFFD;
                break;
            }
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
        }
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            cp = 0xFFFD;
        auto unit = [&out](std::uint32_t u) {
            AppendHex(out, static_cast<unsigned char>(u >> 8));
            AppendHex(out, static_cast<unsigned char>(u & 0xFF));
        };
        if (cp >= 0x10000) {
            cp -= 0x10000;
            unit(0xD800 + (cp >> 10));
            unit(0xDC00 + (cp & 0x3FF));
        } else {
            unit(cp);
        }
    }
    return out + '>';
}

// The name as bytes for older readers: its ASCII, with '_' for the rest.
std::string ByteString(std::string_view utf8) {
    std::string out = "<";
    for (char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        AppendHex(out, u >= 0x20 && u < 0x7F ? u : '_');
    }
    return out + '>';
}

} // namespace

bool WritePdfWithAttachments(std::string_view pdf, const std::vector<RecordAttachment>& files,
                             const PdfSink& write, std::string& error) {
    const auto st = Read(pdf, error);
    if (!st)
        return false;
    std::uint64_t written = 0;
    auto put = [&](std::string_view piece) {
        written += piece.size();
        if (!write(piece))
            error = "the PDF cannot be written";
        return error.empty();
    };
    // (object number, offset) of everything the update writes
    std::vector<std::pair<std::uint64_t, std::uint64_t>> objects;
    std::uint64_t next = st->size;
    auto begin = [&](std::uint64_t number) {
        objects.emplace_back(number, written);
        return std::to_string(number) + " 0 obj\n";
    };
    if (!put(pdf) || (!pdf.empty() && pdf.back() != '\n' && !put("\n")))
        return false;
    std::string names;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const RecordAttachment& f = files[i];
        const std::uint64_t stream = next++, spec = next++;
        std::string head = begin(stream);
        head += "<< /Type /EmbeddedFile /Subtype /text#2Fplain /Filter /FlateDecode /Length " +
                std::to_string(f.deflated.size()) + " /Params << /Size " + std::to_string(f.size) +
                " >> >>\nstream\n";
        if (!put(head) || !put(f.deflated))
            return false;
        if (!put("\nendstream\nendobj\n"))
            return false;
        std::string tail = begin(spec);
        tail += "<< /Type /Filespec /F " + ByteString(f.name) + " /UF " + TextString(f.name) +
                " /EF << /F " + std::to_string(stream) + " 0 R /UF " + std::to_string(stream) +
                " 0 R >> >>\nendobj\n";
        if (!put(tail))
            return false;
        // The keys keep the files in their order and apart when two share a name.
        names +=
            TextString(std::to_string(i + 1) + ' ' + f.name) + ' ' + std::to_string(spec) + " 0 R ";
    }
    const std::uint64_t tree = next++;
    std::string catalog = begin(tree) + "<< /Names [ " + names + "] >>\nendobj\n";
    if (!put(catalog))
        return false;
    catalog = begin(st->root);
    catalog += st->catalog.substr(0, st->catalog.size() - 2);
    catalog += "/Names << /EmbeddedFiles " + std::to_string(tree) + " 0 R >>\n>>\nendobj\n";
    if (!put(catalog))
        return false;
    const std::uint64_t xref = written;
    std::sort(objects.begin(), objects.end());
    std::string rest = "xref\n";
    char entry[24];
    for (std::size_t i = 0; i < objects.size();) {
        std::size_t run = i + 1;
        while (run < objects.size() && objects[run].first == objects[run - 1].first + 1)
            ++run;
        rest += std::to_string(objects[i].first) + ' ' + std::to_string(run - i) + '\n';
        for (; i < run; ++i) {
            std::snprintf(entry, sizeof entry, "%010llu 00000 n \n",
                          static_cast<unsigned long long>(objects[i].second));
            rest += entry;
        }
    }
    rest +=
        "trailer\n<< /Size " + std::to_string(next) + " /Root " + std::to_string(st->root) + " 0 R";
    if (st->info)
        rest += " /Info " + std::to_string(*st->info) + " 0 R";
    if (!st->id.empty())
        rest += ' ' + std::string(st->id);
    rest += " /Prev " + std::to_string(st->xref) + " >>\nstartxref\n" + std::to_string(xref) +
            "\n%%EOF\n";
    return put(rest);
}

} // namespace tensiq::report
