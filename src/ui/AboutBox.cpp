#include "AboutBox.h"

#include "ResourceIds.h"

namespace tensiq {

CAboutBox::CAboutBox(QWidget* parent) : CDialog(res::kAboutBoxDialog, parent) {}

CAboutBox::~CAboutBox() = default;

void CAboutBox::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
}

} // namespace tensiq
