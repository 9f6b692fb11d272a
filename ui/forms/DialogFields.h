#pragma once

#include "platform/os/String.h"

class CComboBox;
class CWnd;

// What the pages and dialogs read from their controls, the same way everywhere: missing controls (a window not
// built yet) read as empty, unselected or unchecked.
CString ItemText(const CWnd* dialog, int id);
// An int as the dialogs write it into their lists and combos (baud rates, counts, addresses): plain decimal.
CString Number(int value);
// The text read as a leading run of decimal digits, as atoi reads it: 0 when there are none.
int ItemNumber(const CWnd* dialog, int id);
// The selected index of a combo box, -1 when nothing is selected.
int ComboSelection(const CWnd* dialog, int id);
bool IsItemChecked(const CWnd* dialog, int id);
void EnableItem(CWnd* dialog, int id, bool enable);
// The combo box of that id; null when there is none.
CComboBox* ComboItem(const CWnd* dialog, int id);
// Selects the combo box's first entry that begins with the text, as its own search does.
void SelectItemPrefix(const CWnd* dialog, int id, const CString& text);
