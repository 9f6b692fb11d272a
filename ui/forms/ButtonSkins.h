#pragma once

class CShadeButton;
class CWnd;

// The two looks of the pages' and dialogs' push buttons. Each subclasses the control with a new shaded button
// that goes with the control's window; null when the window has no such control.
// A text button: a raised border on a soft vertical shade.
CShadeButton* SkinTextButton(CWnd* dialog, int id);
// The same look for a button already subclassed as a shaded one (a member the dialog exchange set up); null is
// left alone.
void SkinTextButton(CShadeButton* button);
// A picture button: the icon resource on a soft diagonal shade, flat until the mouse is over it.
CShadeButton* SkinIconButton(CWnd* dialog, int id, int icon);
