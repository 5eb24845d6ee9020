#pragma once
// The wait cursor for as long as the object lives, like the framework's CWaitCursor: the GUI
// thread is busy by design while a device command runs.

#include <QGuiApplication>

namespace tensiq {

class CWaitCursor {
public:
    CWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

} // namespace tensiq
