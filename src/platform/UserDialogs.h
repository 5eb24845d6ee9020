#pragma once
// The one seam through which the program asks the user something: every message box and the
// save dialog go through here, so a test can answer instead of a person.

#include "WinTypes.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <utility>
#include <vector>

class QWidget;

namespace tensiq {

// Buttons and icons of a message box, as the framework numbers them.
inline constexpr UINT MB_OK = 0x00;
inline constexpr UINT MB_OKCANCEL = 0x01;
inline constexpr UINT MB_YESNOCANCEL = 0x03;
inline constexpr UINT MB_YESNO = 0x04;
inline constexpr UINT MB_TYPEMASK = 0x0F;
inline constexpr UINT MB_ICONHAND = 0x10; // the stop icon
inline constexpr UINT MB_ICONQUESTION = 0x20;
inline constexpr UINT MB_ICONEXCLAMATION = 0x30;
inline constexpr UINT MB_ICONINFORMATION = 0x40;
inline constexpr UINT MB_ICONMASK = 0xF0;

// What a box returns: the button that closed it.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

struct MessageBoxRequest {
    QWidget* parent = nullptr;
    QString text;
    QString caption;
    UINT type = MB_OK;
};

// Answers a message box instead of the user; returns IDOK, IDCANCEL, ...
using MessageBoxHandler = std::function<int(const MessageBoxRequest&)>;

// Shows the box modally on the GUI thread and returns the button pressed. An empty caption
// takes the application's name, as the framework's message box does.
int MessageBox(QWidget* parent, const QString& text, const QString& caption, UINT type);

// Replaces how boxes are answered; an empty handler brings back the real box. Returns the
// handler that was in place.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// For tests: answers every box while it lives, then puts the previous way back.
class ScopedMessageBoxHandler {
public:
    explicit ScopedMessageBoxHandler(MessageBoxHandler handler)
        : m_previous(SetMessageBoxHandler(std::move(handler))) {}
    ~ScopedMessageBoxHandler() { SetMessageBoxHandler(std::move(m_previous)); }
    ScopedMessageBoxHandler(const ScopedMessageBoxHandler&) = delete;
    ScopedMessageBoxHandler& operator=(const ScopedMessageBoxHandler&) = delete;

private:
    MessageBoxHandler m_previous;
};

// The save dialog's flags, as the framework numbers them.
inline constexpr DWORD OFN_OVERWRITEPROMPT = 0x0002;
inline constexpr DWORD OFN_HIDEREADONLY = 0x0004;

struct SaveFileRequest {
    QWidget* parent = nullptr;
    QString title;
    // The framework's form: "Text files (*.txt)|*.txt|All files (*.*)|*.*||".
    QString filter;
    QString defaultExtension; // added to a name typed without one
    QString fileName;         // proposed at the start
    DWORD flags = 0;
    // Asked through MessageBox before an existing file is chosen (OFN_OVERWRITEPROMPT); %1 is
    // the file.
    QString replaceQuestion;
};

// Chooses the file instead of the user: the full path, or empty for Cancel. It may be asked
// again after the user declined to replace a file.
using SaveFileHandler = std::function<QString(const SaveFileRequest&)>;

// Runs the save dialog modally; the chosen full path, or empty when the user cancelled. With
// OFN_OVERWRITEPROMPT an existing file is only returned once the user agreed to replace it;
// otherwise the dialog comes back.
QString GetSaveFileName(const SaveFileRequest& request);

// Replaces how the file is chosen; an empty handler brings back the real dialog. Returns the
// handler that was in place.
SaveFileHandler SetSaveFileHandler(SaveFileHandler handler);

// The (description, patterns) pairs of a filter in the framework's form.
std::vector<std::pair<QString, QString>> ParseFileFilter(const QString& filter);

class ScopedSaveFileHandler {
public:
    explicit ScopedSaveFileHandler(SaveFileHandler handler)
        : m_previous(SetSaveFileHandler(std::move(handler))) {}
    ~ScopedSaveFileHandler() { SetSaveFileHandler(std::move(m_previous)); }
    ScopedSaveFileHandler(const ScopedSaveFileHandler&) = delete;
    ScopedSaveFileHandler& operator=(const ScopedSaveFileHandler&) = delete;

private:
    SaveFileHandler m_previous;
};

struct OpenFileRequest {
    QWidget* parent = nullptr;
    QString title;
    QString filter; // the framework's form, as for the save dialog
};

// Chooses existing files instead of the user: their full paths, or none for Cancel.
using OpenFileHandler = std::function<QStringList(const OpenFileRequest&)>;

// Runs the open dialog modally; the files chosen (several allowed), none when cancelled.
QStringList GetOpenFileNames(const OpenFileRequest& request);

OpenFileHandler SetOpenFileHandler(OpenFileHandler handler);

class ScopedOpenFileHandler {
public:
    explicit ScopedOpenFileHandler(OpenFileHandler handler)
        : m_previous(SetOpenFileHandler(std::move(handler))) {}
    ~ScopedOpenFileHandler() { SetOpenFileHandler(std::move(m_previous)); }
    ScopedOpenFileHandler(const ScopedOpenFileHandler&) = delete;
    ScopedOpenFileHandler& operator=(const ScopedOpenFileHandler&) = delete;

private:
    OpenFileHandler m_previous;
};

} // namespace tensiq
