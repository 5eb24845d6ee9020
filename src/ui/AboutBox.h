#pragma once
// The about box: the program's icon, its version line and a second line, and "OK".

#include "Dialog.h"

namespace tensiq {

class CAboutBox : public CDialog {
    Q_OBJECT
public:
    explicit CAboutBox(QWidget* parent = nullptr);
    ~CAboutBox() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

} // namespace tensiq
