#pragma once

#include "platform/gui/controls/ComboBox.h"
#include "platform/gui/dialogs/Dialog.h"

#include <memory>

class CWallCtrl;
class LcdGridCtrl;

// "高级控制": light control and temperature control on and off, and the temperature's set point, for the selected
// units.
class AdvancedSetting : public CDialog {
public:
    explicit AdvancedSetting(LcdGridCtrl* wallView, CWnd* pParent = nullptr);
    ~AdvancedSetting() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // "设定": the set-point command of the chosen temperature; nothing without a choice.
    void OnSetTemperature();

private:
    std::unique_ptr<CWallCtrl> m_ctrl;
    CComboBox m_temperature;
};
