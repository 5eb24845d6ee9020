#include "UserDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <utility>

namespace tensiq {

namespace {

MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}

QMessageBox::Icon IconOf(UINT type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int ShowRealBox(const MessageBoxRequest& request) {
    QMessageBox box(IconOf(request.type), request.caption, request.text, QMessageBox::NoButton,
                    request.parent);
    switch (request.type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case MB_YESNO:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MB_YESNOCANCEL:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return IDOK;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    default:
        return IDCANCEL;
    }
}

} // namespace

int MessageBox(QWidget* parent, const QString& text, const QString& caption, UINT type) {
    MessageBoxRequest request{parent, text, caption, type};
    if (request.caption.isEmpty())
        request.caption = QApplication::applicationName();
    if (Handler())
        return Handler()(request);
    return ShowRealBox(request);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    return std::exchange(Handler(), std::move(handler));
}

namespace {

SaveFileHandler& FileHandler() {
    static SaveFileHandler handler;
    return handler;
}

QString RunRealSaveDialog(const SaveFileRequest& request) {
    QFileDialog dialog(request.parent, request.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The question is ours, so it is asked in the program's language and tests can answer it.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    QStringList filters;
    for (const auto& [description, patterns] : ParseFileFilter(request.filter)) {
        QString qtPatterns = patterns;
        qtPatterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << (description.endsWith(QLatin1Char('(') + qtPatterns + QLatin1Char(')'))
                        ? description
                        : description + QStringLiteral(" (") + qtPatterns + QLatin1Char(')'));
    }
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

std::vector<std::pair<QString, QString>> ParseFileFilter(const QString& filter) {
    std::vector<std::pair<QString, QString>> pairs;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break; // the "||" at the end
        pairs.emplace_back(parts[i], parts[i + 1]);
    }
    return pairs;
}

QString GetSaveFileName(const SaveFileRequest& request) {
    for (;;) {
        const QString path = FileHandler() ? FileHandler()(request) : RunRealSaveDialog(request);
        if (path.isEmpty())
            return {};
        if ((request.flags & OFN_OVERWRITEPROMPT) == 0 || !QFileInfo::exists(path))
            return path;
        const QString question =
            request.replaceQuestion.isEmpty()
                ? path
                : QString(request.replaceQuestion).replace(QStringLiteral("%1"), path);
        if (MessageBox(request.parent, question, request.title, MB_YESNO | MB_ICONEXCLAMATION) ==
            IDYES)
            return path;
    }
}

SaveFileHandler SetSaveFileHandler(SaveFileHandler handler) {
    return std::exchange(FileHandler(), std::move(handler));
}

namespace {

OpenFileHandler& OpenHandler() {
    static OpenFileHandler handler;
    return handler;
}

QString QtFilters(const QString& filter) {
    QStringList filters;
    for (const auto& [description, patterns] : ParseFileFilter(filter)) {
        QString qtPatterns = patterns;
        qtPatterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << description + QStringLiteral(" (") + qtPatterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

} // namespace

QStringList GetOpenFileNames(const OpenFileRequest& request) {
    if (OpenHandler())
        return OpenHandler()(request);
    return QFileDialog::getOpenFileNames(request.parent, request.title, {},
                                         QtFilters(request.filter));
}

OpenFileHandler SetOpenFileHandler(OpenFileHandler handler) {
    return std::exchange(OpenHandler(), std::move(handler));
}

} // namespace tensiq
