#include "ReportPdf.h"

#include "PdfAttachmentUpdate.h"
#include "RecordAttachment.h"
#include "ReportCsv.h"
#include "ReportNumbers.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace tensiq::report {

namespace {

constexpr int kDpi = 600;
constexpr double kMarginMm = 15.0;

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

class Page {
public:
    Page(QPainter& painter, const ReportInput& input, const ReportTexts& texts)
        : p(painter), in(input), t(texts) {
        family =
            t.chinese ? QStringLiteral("WenQuanYi Micro Hei") : QStringLiteral("Liberation Sans");
    }

    double mm(double v) const { return v * kDpi / 25.4; }

    QFont Font(double points, bool bold = false) const {
        QFont f(family);
        f.setPointSizeF(points);
        f.setBold(bold);
        return f;
    }

    // Text at (x, y) mm, y the top; returns the height used in mm.
    double Text(double x, double y, double width, const QString& text, const QFont& font,
                Qt::Alignment align = Qt::AlignLeft) {
        p.setFont(font);
        const QRectF box(mm(x), mm(y), mm(width), mm(200));
        QRectF used;
        p.drawText(box, int(align | Qt::AlignTop | Qt::TextWordWrap), text, &used);
        return used.height() * 25.4 / kDpi;
    }

    QString Weight(double kg) const {
        return Q(FormatFixed(kg * in.unitFactor, UnitDecimals(in.unitText)));
    }
    QString WeightUnit(double kg) const { return Weight(kg) + ' ' + Q(in.unitText); }

    QPainter& p;
    const ReportInput& in;
    const ReportTexts& t;
    QString family;
};

QString StateText(const ReportTexts& t, RopeState state) {
    switch (state) {
    case RopeState::Ok:
        return Q(t.ok);
    case RopeState::High:
        return Q(t.high);
    case RopeState::Low:
        return Q(t.low);
    case RopeState::NotAssessed:
        break;
    }
    return QStringLiteral("-");
}

QString VerdictText(const ReportTexts& t, Verdict v) {
    switch (v) {
    case Verdict::Pass:
        return Q(t.pass);
    case Verdict::Fail:
        return Q(t.fail);
    case Verdict::NotAssessed:
        break;
    }
    return Q(t.notAssessed);
}

QColor VerdictColour(Verdict v) {
    switch (v) {
    case Verdict::Pass:
        return QColor(0, 120, 0);
    case Verdict::Fail:
        return QColor(180, 0, 0);
    case Verdict::NotAssessed:
        break;
    }
    return QColor(90, 90, 90);
}

double Fields(Page& pg, double y, const std::vector<std::pair<std::string, std::string>>& rows,
              double x, double labelWidth, double width) {
    const QFont label = pg.Font(9, true), value = pg.Font(9);
    for (const auto& [l, v] : rows) {
        pg.Text(x, y, labelWidth, Q(l), label);
        const double h = pg.Text(x + labelWidth, y, width - labelWidth, Q(v), value);
        y += std::max(4.6, h + 0.6);
    }
    return y;
}

double Table(Page& pg, const ReportFigures& f, double y) {
    const ReportTexts& t = pg.t;
    const double x0 = kMarginMm, w = 180.0;
    const std::vector<double> widths = {16, 30, 22, 30, 30, 22, 30};
    const QString u = Q(pg.in.unitText);
    const QStringList header = {Q(t.rope),
                                Q(t.found) + " (" + u + ")",
                                Q(t.deviation),
                                Q(t.target) + " (" + u + ")",
                                Q(t.left) + " (" + u + ")",
                                Q(t.deviation),
                                Q(t.state)};
    const double rowH = 5.2;
    pg.p.setPen(Qt::NoPen);
    pg.p.setBrush(QColor(225, 230, 240));
    pg.p.drawRect(QRectF(pg.mm(x0), pg.mm(y), pg.mm(w), pg.mm(rowH)));
    pg.p.setPen(Qt::black);
    double x = x0;
    for (int c = 0; c < header.size(); ++c) {
        pg.Text(x + 1, y + 0.9, widths[c] - 2, header[c], pg.Font(8, true),
                c == 0 ? Qt::AlignLeft : Qt::AlignRight);
        x += widths[c];
    }
    y += rowH;
    for (const RopeRow& row : f.rows) {
        const QStringList cells = {QString::number(row.rope),
                                   pg.Weight(row.found),
                                   Q(FormatFixed(row.foundDeviationPercent, 1)),
                                   row.target ? pg.Weight(*row.target) : QStringLiteral("-"),
                                   pg.Weight(row.left),
                                   Q(FormatFixed(row.leftDeviationPercent, 1)),
                                   StateText(t, row.state)};
        x = x0;
        for (int c = 0; c < cells.size(); ++c) {
            const bool bad =
                c == 6 && (row.state == RopeState::High || row.state == RopeState::Low);
            pg.p.setPen(bad ? QColor(180, 0, 0) : QColor(Qt::black));
            pg.Text(x + 1, y + 0.8, widths[c] - 2, cells[c], pg.Font(9, bad),
                    c == 0 ? Qt::AlignLeft : Qt::AlignRight);
            x += widths[c];
        }
        pg.p.setPen(QPen(QColor(200, 200, 200), pg.mm(0.15)));
        pg.p.drawLine(QPointF(pg.mm(x0), pg.mm(y + rowH)), QPointF(pg.mm(x0 + w), pg.mm(y + rowH)));
        y += rowH;
    }
    pg.p.setPen(Qt::black);
    return y;
}

QString FiguresLine(const Page& pg, const std::string& which, const LoadFigures& l) {
    return Q(FillPlaceholders(
        pg.t.figures, {which, pg.WeightUnit(l.mean).toStdString(),
                       pg.WeightUnit(l.min).toStdString(), pg.WeightUnit(l.max).toStdString(),
                       pg.WeightUnit(l.spreadKg).toStdString(), FormatFixed(l.spreadPercent, 1)}));
}

double Summary(Page& pg, const ReportFigures& f, double y) {
    const ReportTexts& t = pg.t;
    const double x = kMarginMm, w = 180.0;
    y += pg.Text(x, y, w, Q(t.summary), pg.Font(11, true)) + 1.0;
    pg.p.setPen(VerdictColour(f.verdict));
    y += pg.Text(x, y, w, VerdictText(t, f.verdict), pg.Font(16, true)) + 1.0;
    pg.p.setPen(Qt::black);
    std::string reason;
    switch (f.reason) {
    case NotAssessedReason::None:
        reason = FillPlaceholders(f.allowedFromRelayThreshold ? t.ruleRelay : t.rule,
                                  {pg.WeightUnit(f.allowedKg).toStdString()});
        break;
    case NotAssessedReason::NoBlock:
        reason = t.noBlock;
        break;
    case NotAssessedReason::NoAllowedDifference:
        reason = t.noLimit;
        break;
    case NotAssessedReason::NoLoad:
        reason = t.noLoad;
        break;
    }
    const QFont body = pg.Font(9);
    y += pg.Text(x, y, w, Q(reason), body) + 0.8;
    if (!f.ropesOutside.empty()) {
        std::string ropes;
        for (int r : f.ropesOutside)
            ropes += (ropes.empty() ? "" : ", ") + std::to_string(r);
        pg.p.setPen(VerdictColour(Verdict::Fail));
        y += pg.Text(x, y, w, Q(FillPlaceholders(t.outside, {ropes})), pg.Font(9, true)) + 0.8;
        pg.p.setPen(Qt::black);
    }
    y += pg.Text(x, y, w, FiguresLine(pg, t.found, f.found), body) + 0.4;
    y += pg.Text(x, y, w, FiguresLine(pg, t.left, f.left), body) + 0.4;
    y += pg.Text(x, y, w,
                 Q(FillPlaceholders(t.steady, {std::to_string(pg.in.found.frames),
                                               std::to_string(pg.in.left.frames)})),
                 pg.Font(8)) +
         0.4;
    return y;
}

// Found and left side by side for each rope, with the mean of the loads left and the band the
// device allows around it, all as vectors.
double Chart(Page& pg, const ReportFigures& f, double y, double height) {
    const ReportTexts& t = pg.t;
    const double x0 = kMarginMm + 14, w = 180.0 - 14 - 2, h = height - 10;
    const QColor foundColour(160, 160, 160), leftColour(0, 70, 160), bandColour(0, 150, 0, 45);
    double top = std::max(f.found.max, f.left.max);
    if (f.reason == NotAssessedReason::None)
        top = std::max(top, f.left.mean + f.allowedKg / 2.0);
    // Round steps of 1, 2 or 5 times a power of ten in the unit shown, at most six of them.
    const double factor = pg.in.unitFactor > 0.0 ? pg.in.unitFactor : 1.0;
    const double topShown = top > 0 ? top * factor * 1.05 : 1.0;
    double step = std::pow(10.0, std::floor(std::log10(topShown / 5.0)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (topShown / (step * m) <= 5.0) {
            step *= m;
            break;
        }
    const int steps = static_cast<int>(std::ceil(topShown / step - 1e-9)) + (top > 0 ? 0 : 1);
    top = steps * step / factor;
    const auto yOf = [&](double kg) { return y + h - std::clamp(kg / top, 0.0, 1.0) * h; };
    QPainter& p = pg.p;

    p.setPen(QPen(QColor(120, 120, 120), pg.mm(0.15)));
    for (int i = 0; i <= steps; ++i) {
        const double kg = i * step / factor;
        const double ty = yOf(kg);
        p.drawLine(QPointF(pg.mm(x0), pg.mm(ty)), QPointF(pg.mm(x0 + w), pg.mm(ty)));
        pg.Text(kMarginMm, ty - 1.6, 13, pg.Weight(kg), pg.Font(7), Qt::AlignRight);
    }
    if (f.reason == NotAssessedReason::None) {
        const double bandTop = yOf(f.left.mean + f.allowedKg / 2.0);
        const double bandBottom = yOf(f.left.mean - f.allowedKg / 2.0);
        p.setPen(Qt::NoPen);
        p.setBrush(bandColour);
        p.drawRect(QRectF(pg.mm(x0), pg.mm(bandTop), pg.mm(w), pg.mm(bandBottom - bandTop)));
    }
    const double slot = w / f.ropes;
    const double bar = std::min(slot * 0.34, 8.0);
    for (int k = 0; k < f.ropes; ++k) {
        const double cx = x0 + slot * (k + 0.5);
        const double found = f.rows[k].found, left = f.rows[k].left;
        p.setPen(Qt::NoPen);
        p.setBrush(foundColour);
        p.drawRect(
            QRectF(pg.mm(cx - bar), pg.mm(yOf(found)), pg.mm(bar), pg.mm(y + h - yOf(found))));
        const bool bad = f.rows[k].state == RopeState::High || f.rows[k].state == RopeState::Low;
        p.setBrush(bad ? QColor(190, 0, 0) : leftColour);
        p.drawRect(QRectF(pg.mm(cx), pg.mm(yOf(left)), pg.mm(bar), pg.mm(y + h - yOf(left))));
        p.setPen(Qt::black);
        pg.Text(cx - slot / 2, y + h + 0.8, slot, QString::number(k + 1), pg.Font(7),
                Qt::AlignHCenter);
    }
    p.setPen(QPen(Qt::black, pg.mm(0.4), Qt::DashLine));
    p.drawLine(QPointF(pg.mm(x0), pg.mm(yOf(f.left.mean))),
               QPointF(pg.mm(x0 + w), pg.mm(yOf(f.left.mean))));
    p.setPen(QPen(Qt::black, pg.mm(0.2)));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(pg.mm(x0), pg.mm(y), pg.mm(w), pg.mm(h)));

    // Legend.
    const double ly = y + h + 5.0;
    double lx = x0;
    const auto key = [&](const QColor& c, const QString& text, bool line) {
        p.setPen(line ? QPen(Qt::black, pg.mm(0.4), Qt::DashLine) : QPen(Qt::NoPen));
        p.setBrush(line ? QBrush(Qt::NoBrush) : QBrush(c));
        if (line)
            p.drawLine(QPointF(pg.mm(lx), pg.mm(ly + 1.5)),
                       QPointF(pg.mm(lx + 5), pg.mm(ly + 1.5)));
        else
            p.drawRect(QRectF(pg.mm(lx), pg.mm(ly), pg.mm(5), pg.mm(3)));
        p.setPen(Qt::black);
        pg.Text(lx + 6, ly - 0.2, 38, text, pg.Font(8));
        lx += 42;
    };
    key(foundColour, Q(t.found), false);
    key(leftColour, Q(t.left), false);
    key(Qt::black, Q(t.mean) + " (" + Q(t.left) + ")", true);
    if (f.reason == NotAssessedReason::None)
        key(QColor(0, 150, 0, 90), Q(t.band), false);
    return y + height;
}

double Records(Page& pg, double y) {
    const double x = kMarginMm, w = 180.0;
    y += pg.Text(x, y, w, Q(pg.t.records), pg.Font(10, true)) + 0.8;
    for (const RecordFileInfo& r : pg.in.records) {
        y += pg.Text(x, y, w,
                     Q(r.name) + QStringLiteral(" (") + QString::number(r.frames) +
                         QStringLiteral(")  SHA-256 ") + Q(r.sha256),
                     pg.Font(7.5)) +
             0.5;
    }
    return y;
}

void Signatures(Page& pg, double y) {
    QPainter& p = pg.p;
    const std::pair<double, const std::string*> columns[] = {{kMarginMm, &pg.t.signTechnician},
                                                             {kMarginMm + 95, &pg.t.signCustomer}};
    for (const auto& [x, label] : columns) {
        p.setPen(QPen(Qt::black, pg.mm(0.25)));
        p.drawLine(QPointF(pg.mm(x), pg.mm(y + 10)), QPointF(pg.mm(x + 85), pg.mm(y + 10)));
        pg.Text(x, y + 11, 85, Q(pg.t.placeDate) + QStringLiteral(", ") + Q(*label), pg.Font(8));
    }
}

void Draw(QPainter& p, const ReportInput& in, const ReportFigures& f, const ReportTexts& t) {
    Page pg(p, in, t);
    const double x = kMarginMm, w = 180.0;
    double y = kMarginMm;
    pg.Text(x, y, w, Q(t.title), pg.Font(18, true));
    pg.Text(x, y + 1.5, w, Q(t.reportId) + ' ' + Q(in.reportId), pg.Font(9), Qt::AlignRight);
    y += 11;
    p.setPen(QPen(Qt::black, pg.mm(0.3)));
    p.drawLine(QPointF(pg.mm(x), pg.mm(y)), QPointF(pg.mm(x + w), pg.mm(y)));
    y += 2;

    const double left = Fields(pg, y,
                               {{t.date, in.date},
                                {t.site, in.site},
                                {t.lift, in.lift},
                                {t.technician, in.technician},
                                {t.remark, in.remark}},
                               x, 24, 88);
    std::string allowed = "-", ropeCount = "-", factor = "-", tare = "-";
    if (in.block) {
        ropeCount = std::to_string(in.block->RopeCount());
        factor = std::to_string(in.block->Factor());
        tare = pg.WeightUnit(in.block->Tare()).toStdString();
        allowed = pg.WeightUnit(f.allowedKg).toStdString();
    }
    const double right = Fields(pg, y,
                                {{t.device + ": " + t.port, in.port},
                                 {t.firmware, in.firmwareReply},
                                 {t.ropeCount, ropeCount},
                                 {t.factor, factor},
                                 {t.tare, tare},
                                 {t.allowedDifference, allowed}},
                                x + 92, 42, 88);
    y = std::max(left, right) + 1;
    y += pg.Text(x, y, w,
                 Q(t.program) + ' ' + Q(in.programVersion) + QStringLiteral(" · ") +
                     Q(FillPlaceholders(t.period, {in.startTime, in.endTime})),
                 pg.Font(8)) +
         2;
    y = Table(pg, f, y) + 3;
    y = Summary(pg, f, y) + 2;
    y = Chart(pg, f, y, 62) + 2;
    y = Records(pg, y) + 2;
    Signatures(pg, std::max(y, 297.0 - kMarginMm - 16));
}

bool Commit(QSaveFile& file, std::string& error) {
    if (!file.commit()) {
        error = file.errorString().toStdString();
        return false;
    }
    return true;
}

bool Open(QSaveFile& file, std::string& error) {
    // A report never goes through a link to somewhere else.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString().toStdString();
        return false;
    }
    return true;
}

} // namespace

bool WriteReportPdf(const ReportInput& input, const ReportFigures& figures,
                    const ReportTexts& texts, std::vector<RecordAttachment>& attachments,
                    const std::string& path, std::string& error) {
    QSaveFile file(QString::fromStdString(path));
    if (!Open(file, error))
        return false;
    // The page is small; the records are embedded after it, because Qt's own attachments would
    // deflate the already deflated records a second time, which costs more than the rest.
    QByteArray page;
    {
        QBuffer buffer(&page);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(kDpi);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        writer.setTitle(QString::fromStdString(texts.title + " " + input.reportId));
        writer.setCreator(QStringLiteral("Tensiq ") + QString::fromStdString(input.programVersion));
        QPainter painter;
        if (!painter.begin(&writer)) {
            file.cancelWriting();
            error = "the PDF cannot be started";
            return false;
        }
        Draw(painter, input, figures, texts);
        painter.end();
    }
    const bool written = WritePdfWithAttachments(
        std::string_view(page.constData(), static_cast<std::size_t>(page.size())), attachments,
        [&file](std::string_view piece) {
            return file.write(piece.data(), static_cast<qint64>(piece.size())) ==
                   static_cast<qint64>(piece.size());
        },
        error);
    attachments.clear();
    if (!written || file.error() != QFileDevice::NoError) {
        if (file.error() != QFileDevice::NoError)
            error = file.errorString().toStdString();
        file.cancelWriting();
        return false;
    }
    return Commit(file, error);
}

bool WriteReportCsv(const ReportInput& input, const ReportFigures& figures, const std::string& path,
                    std::string& error) {
    QSaveFile file(QString::fromStdString(path));
    if (!Open(file, error))
        return false;
    const std::string csv = ReportCsv(input, figures);
    if (file.write(csv.data(), static_cast<qint64>(csv.size())) !=
        static_cast<qint64>(csv.size())) {
        error = file.errorString().toStdString();
        file.cancelWriting();
        return false;
    }
    return Commit(file, error);
}

} // namespace tensiq::report
