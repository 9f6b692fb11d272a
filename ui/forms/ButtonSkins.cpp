#include "ButtonSkins.h"

#include "skin/ShadeButton.h"

CShadeButton* SkinTextButton(CWnd* dialog, int id) {
    CShadeButton* button = CIconButton::SubclassOwned<CShadeButton>(static_cast<UINT>(id), dialog);
    SkinTextButton(button);
    return button;
}

void SkinTextButton(CShadeButton* button) {
    if (!button)
        return;
    button->SetFlat(FALSE, TRUE);
    button->SetShade(CShadeButton::kVerticalSoftRamp, 8, 10, 0, 0);
}

CShadeButton* SkinIconButton(CWnd* dialog, int id, int icon) {
    CShadeButton* button = CIconButton::SubclassOwned<CShadeButton>(static_cast<UINT>(id), dialog);
    if (button) {
        button->SetIcon(icon, 0);
        button->SetShade(CShadeButton::kDiagonalSoftRamp, 8, 10, 0, 0);
        // Flat, it has no frame of its own to show the keyboard's focus with.
        button->SetFlatFocus(TRUE, FALSE);
    }
    return button;
}
