#pragma once
// The dialog's data exchange: which way it runs, the dialog it runs on, and how a field stops
// it. Binding a member control to a template control is DDX_Control.

#include "WinTypes.h"

class QWidget;

namespace tensiq {

class CDialog;

class CDataExchange {
public:
    CDataExchange(CDialog* dialog, BOOL saveAndValidate)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}

    // The control the next field exchange is about; a failure puts the focus on it.
    QWidget* PrepareCtrl(int id);
    // Stops the exchange; the fields after the failing one are left alone.
    void Fail();
    bool Failed() const { return m_failed; }

    CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate; // TRUE: controls to members, FALSE: members to controls
    int m_idLastControl = 0;

private:
    bool m_failed = false;
};

// Puts member in the place of the template's control id, once; later exchanges leave it.
void DDX_Control(CDataExchange* pDX, int id, QWidget& member);

} // namespace tensiq
