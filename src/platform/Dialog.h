#pragma once
// Dialog base: a QDialog built from a template of the current resource module. Its controls
// are created at their template places, in template order, which is also the tab order; the
// framework's data exchange, window timers and modal run sit on top.

#include "DialogTemplate.h"
#include "DialogUnits.h"
#include "UserDialogs.h"
#include "WinTypes.h"

#include <QDialog>
#include <QPointer>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QButtonGroup;

namespace tensiq {

class CDataExchange;

using UINT_PTR = std::uintptr_t;
using INT_PTR = std::intptr_t;

// Size types of WM_SIZE.
inline constexpr UINT SIZE_RESTORED = 0;
inline constexpr UINT SIZE_MINIMIZED = 1;
inline constexpr UINT SIZE_MAXIMIZED = 2;

class CDialog : public QDialog {
    Q_OBJECT
public:
    // The template is looked up when the window is created, in the module current then.
    explicit CDialog(unsigned templateId, QWidget* parent = nullptr);
    ~CDialog() override;

    // Builds the window and its controls from the template and runs OnInitDialog, once.
    // False when the resource module has no such template.
    bool Create();
    // Create, show modally, and return what EndDialog was given (-1 without a template).
    INT_PTR DoModal();
    void EndDialog(int result);
    // TRUE: controls to members; FALSE: members to controls. False when a field failed.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    unsigned TemplateId() const { return m_templateId; }
    // Null before Create.
    const res::DialogTemplate* Template() const { return m_template; }
    const DialogUnits* Units() const { return m_units.get(); }

    // The control of id in the template, or null; the first of several with the same id.
    QWidget* GetDlgItem(int id) const;
    const res::DialogControl* TemplateControl(int id) const;
    struct Control {
        const res::DialogControl* entry;
        QPointer<QWidget> widget;
    };
    // Every control in template order, the bound members in the place of the ones they replaced.
    const std::vector<Control>& Controls() const { return m_controls; }
    // The exclusive group a template radio belongs to (group starts delimit them), or null.
    QButtonGroup* RadioGroup(int id) const;

    // Puts widget in the place of template control id: its geometry, text, style, visibility,
    // enabled state and tab place. The control made from the template goes away.
    bool SubclassDlgItem(int id, QWidget& widget);

    // Window timers by the program's own ids; a timer set again restarts.
    void SetTimer(UINT_PTR id, UINT elapseMs);
    bool KillTimer(UINT_PTR id);
    bool TimerRunning(UINT_PTR id) const { return m_timers.count(id) != 0; }

    // The template's style bits of a push button, for members built before the window.
    static DWORD ButtonStyleOf(unsigned templateId, int id);

protected:
    // Runs the first exchange, members to controls. TRUE: the focus goes to the first tab stop.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* pDX);
    // The default reads the form and ends with IDOK; a window may end without reading.
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnTimer(UINT_PTR id);
    virtual void OnSize(UINT type, int cx, int cy);

    // Enter without a default button, Escape and the close box come through these.
    void accept() override;
    void reject() override;
    void timerEvent(QTimerEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* CreateControl(const res::DialogControl& control);
    QWidget* MakeControlWidget(const res::DialogControl& control);
    void CreateRadioGroups();
    void ConnectCommand(QWidget* widget, int id);
    void ChainTabOrder();

    unsigned m_templateId;
    const res::DialogTemplate* m_template = nullptr;
    std::unique_ptr<DialogUnits> m_units;
    std::vector<Control> m_controls;
    std::map<int, QButtonGroup*> m_radioGroups;
    std::map<UINT_PTR, int> m_timers; // the program's id to Qt's
    bool m_created = false;
};

} // namespace tensiq
