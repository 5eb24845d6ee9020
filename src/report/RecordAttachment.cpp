#include "RecordAttachment.h"

#include <QCryptographicHash>
#include <QFile>

#include <zlib.h>

namespace tensiq::report {

namespace {

std::string OpenError(const QFile& file) {
    return file.fileName().toStdString() + ": " + file.errorString().toStdString();
}

bool Gzip(QFile& file, QCryptographicHash& hash, QByteArray& out, std::string& error) {
    z_stream z{};
    // 15 window bits plus 16: a gzip header, so the attachment opens with gunzip.
    if (deflateInit2(&z, Z_BEST_SPEED, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        error = "compression cannot start";
        return false;
    }
    // A record compresses at least threefold; growing by doubling would hold twice that.
    out.reserve(file.size() / 3);
    QByteArray in(256 * 1024, Qt::Uninitialized);
    char chunk[64 * 1024];
    bool ok = true;
    for (bool end = false; !end && ok;) {
        const qint64 got = file.read(in.data(), in.size());
        if (got < 0) {
            error = OpenError(file);
            ok = false;
            break;
        }
        end = got == 0;
        hash.addData(QByteArrayView(in.constData(), got));
        z.next_in = reinterpret_cast<Bytef*>(in.data());
        z.avail_in = static_cast<uInt>(got);
        int status = Z_OK;
        do {
            z.next_out = reinterpret_cast<Bytef*>(chunk);
            z.avail_out = sizeof chunk;
            status = deflate(&z, end ? Z_FINISH : Z_NO_FLUSH);
            out.append(chunk, static_cast<qsizetype>(sizeof chunk - z.avail_out));
        } while (z.avail_out == 0 && status != Z_STREAM_END);
    }
    deflateEnd(&z);
    out.squeeze();
    return ok;
}

} // namespace

bool ReadRecordFile(const std::string& path, const std::string& name, RecordAttachment* out,
                    std::string& sha256, std::string& error) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        error = OpenError(file);
        return false;
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (out == nullptr) {
        if (!hash.addData(&file)) {
            error = OpenError(file);
            return false;
        }
        sha256 = hash.result().toHex().toStdString();
        return true;
    }
    RecordAttachment& attachment = *out;
    attachment.name = QString::fromStdString(name);
    if (file.size() <= kAttachUncompressedUpTo) {
        attachment.data = file.readAll();
        attachment.mimeType = QStringLiteral("text/plain");
        if (file.error() != QFileDevice::NoError) {
            error = OpenError(file);
            return false;
        }
        hash.addData(attachment.data);
    } else {
        attachment.name += QStringLiteral(".gz");
        attachment.mimeType = QStringLiteral("application/gzip");
        if (!Gzip(file, hash, attachment.data, error))
            return false;
    }
    sha256 = hash.result().toHex().toStdString();
    return true;
}

} // namespace tensiq::report
