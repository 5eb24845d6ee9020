// The device's port as every command finds, opens and lets it go, and the box that says how a
// device command went.

#include "RopeLoadDlg.h"

#include "ResourceIds.h"
#include "ResourceText.h"
#include "UserDialogs.h"

namespace tensiq {

void CRopeLoadDlg::FindPort() {
    if (m_comPort == -1)
        m_comPort = m_link.DiscoverPort(-1);
}

bool CRopeLoadDlg::OpenPort() {
    FindPort();
    return m_link.Open(m_comPort);
}

// A port that failed is not trusted again: the link lets it go (and with it what the device
// still sends), and the next command looks for the device anew, wherever it has come back.
void CRopeLoadDlg::ForgetPort() {
    m_link.Close();
    m_comPort = -1;
}

void CRopeLoadDlg::ShowCommandMessage(unsigned textId, unsigned captionId, UINT icon) {
    const QString text =
        textId == res::kStrNoConnection ? NoConnectionText() : ResourceText(textId);
    MessageBox(this, text, ResourceText(captionId), MB_OK | icon);
}

} // namespace tensiq
