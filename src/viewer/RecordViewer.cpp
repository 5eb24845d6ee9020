#include "RecordViewer.h"
#include "CaptionLabel.h"
#include "CsvExport.h"
#include "CurrentResourceModule.h"
#include "LocalisedString.h"
#include "RecordChart.h"
#include "ResourceIds.h"
#include "UserDialogs.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QTableWidget>
#include <QVBoxLayout>

#include <sstream>

namespace tensiq {

namespace {

enum Column { kColSeries, kColCursor, kColMean, kColMin, kColMax, kColStd, kColumns };

QString Text(unsigned id) {
    return QString::fromStdString(LoadLocalisedString(id, CurrentResourceModule()));
}

// A button's text without its mnemonic, for screen readers.
QString Plain(QString text) {
    text.remove(QLatin1Char('&'));
    return text;
}

QString SeriesName(int series) {
    return series == kTotalSeries ? Text(res::kStrTotal) : Text(res::kStrRopeN).arg(series + 1);
}

} // namespace

CRecordViewer::CRecordViewer(const QString& path, const ViewerUnit& unit, QWidget* parent)
    : QWidget(parent, Qt::Window), m_path(path), m_unit(unit),
      m_record(std::make_unique<RecordColumns>()) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QFileInfo(path).fileName());
    BuildControls();
    resize(1100, 640);

    RecordColumns* record = m_record.get();
    const std::string file = path.toStdString();
    m_loader = std::thread([this, record, file] {
        const RecordSummary summary =
            record->Load(file, &m_cancel, [this](std::uint64_t done, std::uint64_t size) {
                // Posted only when the bar would move, so a long file sends a thousand at most.
                const int permille = size > 0 ? static_cast<int>(done * 1000 / size) : 0;
                if (m_lastPermille.exchange(permille) != permille)
                    QMetaObject::invokeMethod(
                        this, [this, done, size] { OnProgress(done, size); }, Qt::QueuedConnection);
            });
        QMetaObject::invokeMethod(
            this, [this, summary] { OnLoaded(summary); }, Qt::QueuedConnection);
    });
}

CRecordViewer::~CRecordViewer() {
    m_cancel = true;
    JoinLoader();
}

void CRecordViewer::JoinLoader() {
    if (m_loader.joinable())
        m_loader.join();
}

void CRecordViewer::BuildControls() {
    m_chart = new CRecordChart(this);
    m_chart->setAccessibleName(Text(res::kStrChart));
    // The table beside it says in numbers what the chart shows.
    m_chart->setAccessibleDescription(Text(res::kStrValuesTable));
    m_chart->SetUnitFactor(m_unit.factor);

    m_table = new QTableWidget(kSeriesCount, kColumns, this);
    m_table->setAccessibleName(Text(res::kStrValuesTable));
    m_table->setHorizontalHeaderLabels({Text(res::kStrColSeries), Text(res::kStrColCursor),
                                        Text(res::kStrColMean), Text(res::kStrColMin),
                                        Text(res::kStrColMax), Text(res::kStrColStd)});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int s = 0; s < kSeriesCount; ++s) {
        auto* name = new QTableWidgetItem(SeriesName(s));
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        name->setCheckState(m_chart->SeriesVisible(s) ? Qt::Checked : Qt::Unchecked);
        name->setForeground(Qt::white);
        name->setBackground(Qt::black);
        name->setData(Qt::DecorationRole, CRecordChart::SeriesColour(s));
        m_table->setItem(s, kColSeries, name);
        for (int c = kColCursor; c < kColumns; ++c) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(s, c, item);
        }
    }
    m_table->resizeColumnsToContents();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->horizontalHeader()->setSectionResizeMode(kColSeries, QHeaderView::ResizeToContents);
    // A series is shown while its row is ticked (Space toggles it).
    connect(m_table, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() == kColSeries)
            m_chart->SetSeriesVisible(item->row(), item->checkState() == Qt::Checked);
    });

    m_cursorLabel = new QLabel(this);
    m_rangeLabel = new QLabel(this);
    m_spread = new CCaptionLabel(this);
    m_spread->SetBold(TRUE);
    m_spread->setMinimumHeight(fontMetrics().height() * 3 / 2);

    auto button = [this](unsigned id) {
        auto* b = new QPushButton(Text(id), this);
        b->setAccessibleName(Plain(b->text()));
        return b;
    };
    m_fitButton = button(res::kStrFitAll);
    m_allButton = button(res::kStrCutAll);
    m_csvButton = button(res::kStrExportCsv);
    m_pngButton = button(res::kStrExportPng);
    m_cancelButton = button(res::kStrCancelLoad);
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 1000);
    m_progress->setAccessibleName(Text(res::kStrLoading));
    m_progress->setFormat(Text(res::kStrLoading) + QStringLiteral(" %p%"));
    for (QPushButton* b : {m_fitButton, m_allButton, m_csvButton, m_pngButton})
        b->setEnabled(false);

    connect(m_fitButton, &QPushButton::clicked, m_chart, &CRecordChart::FitAll);
    connect(m_allButton, &QPushButton::clicked, this, [this] {
        const double first = m_chart->ViewFirst();
        m_chart->SetRange(static_cast<std::int64_t>(first) + 1,
                          static_cast<std::int64_t>(first + m_chart->ViewSpan()));
    });
    connect(m_csvButton, &QPushButton::clicked, this, &CRecordViewer::ExportCsv);
    connect(m_pngButton, &QPushButton::clicked, this, &CRecordViewer::ExportPng);
    connect(m_cancelButton, &QPushButton::clicked, this, &CRecordViewer::CancelLoading);
    connect(m_chart, &CRecordChart::cursorChanged, this, &CRecordViewer::UpdateCursorColumn);
    connect(m_chart, &CRecordChart::rangeChanged, this, &CRecordViewer::UpdateRange);

    auto* buttons = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{m_fitButton, m_allButton, m_csvButton,
                                                      m_pngButton, m_progress, m_cancelButton})
        buttons->addWidget(w);
    buttons->addStretch();
    auto* left = new QVBoxLayout;
    left->addWidget(m_chart, 1);
    left->addLayout(buttons);
    auto* right = new QVBoxLayout;
    right->addWidget(m_cursorLabel);
    right->addWidget(m_rangeLabel);
    right->addWidget(m_table, 1);
    right->addWidget(m_spread);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 3);
    layout->addLayout(right, 2);
    m_chart->setFocus();
}

void CRecordViewer::SetUnit(const ViewerUnit& unit) {
    m_unit = unit;
    m_chart->SetUnitFactor(unit.factor);
    UpdateCursorColumn();
    UpdateRange();
}

void CRecordViewer::OnProgress(std::uint64_t done, std::uint64_t size) {
    m_progress->setValue(size > 0 ? static_cast<int>(done * 1000 / size) : 0);
}

QString CRecordViewer::ProblemText(const RecordProblem& problem) const {
    switch (problem.kind) {
    case RecordProblemKind::Empty:
        return Text(res::kStrProblemEmpty);
    case RecordProblemKind::Binary:
        return Text(res::kStrProblemBinary);
    case RecordProblemKind::NoDateLine:
        return Text(res::kStrProblemNoDate);
    case RecordProblemKind::BadLoad:
        return Text(res::kStrProblemBadLoad).arg(problem.field);
    case RecordProblemKind::TooFewLoads:
        return Text(res::kStrProblemTooFew).arg(problem.field);
    case RecordProblemKind::ExtraText:
        return Text(res::kStrProblemExtra);
    case RecordProblemKind::EmptyLine:
        return Text(res::kStrProblemEmptyLine);
    case RecordProblemKind::CutOff:
        return Text(res::kStrProblemCutOff);
    default:
        return QString::fromStdString(problem.what);
    }
}

void CRecordViewer::OnLoaded(const RecordSummary& summary) {
    JoinLoader();
    m_summary = summary;
    m_progress->hide();
    m_cancelButton->hide();
    switch (summary.status) {
    case RecordStatus::CannotOpen:
        MessageBox(this, Text(res::kStrCannotOpenRecord).arg(m_path, ProblemText(summary.problem)),
                   Text(res::kStrError), MB_OK | MB_ICONHAND);
        emit loaded();
        close();
        return;
    case RecordStatus::NotARecord:
        MessageBox(this, Text(res::kStrNotARecord).arg(m_path, ProblemText(summary.problem)),
                   Text(res::kStrError), MB_OK | MB_ICONHAND);
        emit loaded();
        close();
        return;
    case RecordStatus::Cancelled:
        emit loaded();
        close();
        return;
    case RecordStatus::StoppedAtBadLine:
    case RecordStatus::Complete:
        break;
    }
    setWindowTitle(
        Text(res::kStrViewerTitle)
            .arg(QFileInfo(m_path).fileName(), QString::fromStdString(summary.dateLine)));
    m_chart->SetRecord(m_record.get());
    for (QPushButton* b : {m_fitButton, m_allButton, m_csvButton, m_pngButton})
        b->setEnabled(m_record->Frames() > 0);
    m_chart->SetCursorFrame(1);
    m_chart->SetRange(1, m_record->Frames());
    if (summary.status == RecordStatus::StoppedAtBadLine)
        MessageBox(this,
                   Text(res::kStrBadLine)
                       .arg(m_path)
                       .arg(summary.problem.line)
                       .arg(ProblemText(summary.problem)),
                   Text(res::kStrNotice), MB_OK | MB_ICONEXCLAMATION);
    emit loaded();
}

void CRecordViewer::CancelLoading() {
    m_cancel = true;
}

QString CRecordViewer::Number(double value, bool whole) const {
    return QString::fromStdString(FormatNumber(value * m_unit.factor, whole && m_unit.whole ? 0
                                                                      : m_unit.whole        ? 1
                                                                                            : 3));
}

void CRecordViewer::UpdateCursorColumn() {
    const std::int64_t frame = m_chart->CursorFrame();
    if (frame <= 0 || m_record->Frames() == 0)
        return;
    m_cursorLabel->setText(Text(res::kStrCursorAt).arg(frame));
    for (int s = 0; s < kSeriesCount; ++s)
        m_table->item(s, kColCursor)
            ->setText(Number(static_cast<double>(m_record->Value(s, frame - 1)), true));
}

void CRecordViewer::UpdateRange() {
    const std::int64_t first = m_chart->RangeFirst();
    const std::int64_t last = m_chart->RangeLast();
    if (first <= 0 || m_record->Frames() == 0)
        return;
    RangeStatistics stats;
    std::array<std::int32_t, kRecordRopes> loads{};
    for (std::int64_t f = first - 1; f < last; ++f) {
        for (int r = 0; r < kRecordRopes; ++r)
            loads[r] = static_cast<std::int32_t>(m_record->Value(r, f));
        stats.Add(loads);
    }
    m_rangeStats = stats.Summary();
    m_rangeLabel->setText(Text(res::kStrRangeOf).arg(first).arg(last).arg(last - first + 1));
    for (int s = 0; s < kSeriesCount; ++s) {
        const SeriesStatistics& st = s == kTotalSeries ? m_rangeStats.total : m_rangeStats.ropes[s];
        m_table->item(s, kColMean)->setText(Number(st.mean, false));
        m_table->item(s, kColMin)->setText(Number(static_cast<double>(st.min), true));
        m_table->item(s, kColMax)->setText(Number(static_cast<double>(st.max), true));
        m_table->item(s, kColStd)->setText(Number(st.std, false));
    }
    const QString spread =
        Text(res::kStrSpread)
            .arg(Number(m_rangeStats.spreadKg, false), m_unit.text,
                 QString::fromStdString(FormatNumber(m_rangeStats.spreadPercent, 1)));
    m_spread->SetCaption(spread, TRUE);
    m_spread->setAccessibleName(spread);
}

bool CRecordViewer::WriteCsv(const QString& path) {
    std::ostringstream text;
    CsvUnit unit{m_unit.factor, m_unit.text.toStdString(), m_unit.whole};
    const std::int64_t first = m_chart->RangeFirst() > 0 ? m_chart->RangeFirst() : 1;
    const std::int64_t last = m_chart->RangeFirst() > 0 ? m_chart->RangeLast() : m_record->Frames();
    tensiq::WriteCsv(text, *m_record, first, last, unit);
    // Written beside and renamed into place: a failed export leaves an older file as it was.
    QSaveFile file(path);
    const std::string bytes = text.str();
    return file.open(QIODevice::WriteOnly) &&
           file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
               static_cast<qint64>(bytes.size()) &&
           file.commit();
}

bool CRecordViewer::ExportCsv() {
    SaveFileRequest request;
    request.parent = this;
    request.title = Plain(Text(res::kStrExportCsv)).remove(QStringLiteral("..."));
    request.filter = Text(res::kStrCsvFile) + QStringLiteral(" (*.csv)|*.csv|") +
                     Text(res::kStrAllFiles) + QStringLiteral(" (*.*)|*.*||");
    request.defaultExtension = QStringLiteral("csv");
    request.fileName = QFileInfo(m_path).completeBaseName() + QStringLiteral(".csv");
    request.flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    request.replaceQuestion = Text(res::kStrReplaceFile);
    const QString path = GetSaveFileName(request);
    if (path.isEmpty())
        return false;
    if (WriteCsv(path))
        return true;
    MessageBox(this, Text(res::kStrExportFailed).arg(path), Text(res::kStrError),
               MB_OK | MB_ICONHAND);
    return false;
}

bool CRecordViewer::ExportPng() {
    SaveFileRequest request;
    request.parent = this;
    request.title = Plain(Text(res::kStrExportPng)).remove(QStringLiteral("..."));
    request.filter = Text(res::kStrPngFile) + QStringLiteral(" (*.png)|*.png||");
    request.defaultExtension = QStringLiteral("png");
    request.fileName = QFileInfo(m_path).completeBaseName() + QStringLiteral(".png");
    request.flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    request.replaceQuestion = Text(res::kStrReplaceFile);
    const QString path = GetSaveFileName(request);
    if (path.isEmpty())
        return false;
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && m_chart->grab().save(&file, "PNG") && file.commit())
        return true;
    MessageBox(this, Text(res::kStrExportFailed).arg(path), Text(res::kStrError),
               MB_OK | MB_ICONHAND);
    return false;
}

} // namespace tensiq
