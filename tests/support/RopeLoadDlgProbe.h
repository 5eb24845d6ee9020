#pragma once
// The main window with its state opened up for the tests and the benchmarks. The window keeps
// its members protected; this subclass, which only tests and benchmarks make, shows them.

#include "RopeLoadDlg.h"

namespace tensiq::test {

class RopeLoadDlgProbe : public CRopeLoadDlg {
public:
    using CRopeLoadDlg::CRopeLoadDlg;

    // The platform's timer calls this; a test ticks by hand.
    void Tick(UINT_PTR id) { OnTimer(id); }

    using CRopeLoadDlg::ShutDownAcquisition;

    using CRopeLoadDlg::m_assistantButton;
    using CRopeLoadDlg::m_bars;
    using CRopeLoadDlg::m_barsVisible;
    using CRopeLoadDlg::m_chart;
    using CRopeLoadDlg::m_comPort;
    using CRopeLoadDlg::m_context;
    using CRopeLoadDlg::m_currentRope;
    using CRopeLoadDlg::m_form;
    using CRopeLoadDlg::m_link;
    using CRopeLoadDlg::m_measuring;
    using CRopeLoadDlg::m_nextRopeButton;
    using CRopeLoadDlg::m_parametersRead;
    using CRopeLoadDlg::m_quitButton;
    using CRopeLoadDlg::m_readButton;
    using CRopeLoadDlg::m_referenceRope;
    using CRopeLoadDlg::m_saveButton;
    using CRopeLoadDlg::m_startStopButton;
    using CRopeLoadDlg::m_switchViewButton;
    using CRopeLoadDlg::m_targets;
    using CRopeLoadDlg::m_totalLabel;
    using CRopeLoadDlg::m_writeButton;
};

} // namespace tensiq::test
