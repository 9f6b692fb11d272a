#pragma once

#include "ui/forms/DialogFields.h"

#include "platform/gui/controls/ComboBox.h"
#include "platform/gui/dialogs/Dialog.h"

#include <QApplication>
#include <QTest>

#include <tinyxml.h>

#include <functional>
#include <string>

// Drives a set-up dialog as the operator does: the test's part runs while the dialog is shown modally, and the
// dialog stays open through it unless something in it ends the dialog. DoModal's result.
inline INT_PTR RunModal(CDialog& dialog, const std::function<void()>& operate) {
    ModalLoop previous = CDialog::SetModalLoop([&](CDialog&) { operate(); });
    const INT_PTR result = dialog.DoModal();
    CDialog::SetModalLoop(previous);
    return result;
}

inline QWidget* Widget(const CWnd& dialog, int id) { return dialog.GetDlgItem(id)->GetHostWidget(); }
inline void Click(const CWnd& dialog, int id) { QTest::mouseClick(Widget(dialog, id), Qt::LeftButton); }
inline bool Enabled(const CWnd& dialog, int id) { return Widget(dialog, id)->isEnabled(); }
inline std::string Text(const CWnd& dialog, int id) { return ItemText(&dialog, id).Str(); }

// Picks the entry that equals the text (GBK); any other text leaves nothing selected.
inline void Choose(const CWnd& dialog, int id, const char* text) {
    auto* combo = static_cast<CComboBox*>(dialog.GetDlgItem(id));
    combo->SetCurSel(combo->FindStringExact(-1, text));
}

// Types where the keyboard focus is, then presses Enter there; what a key posts (an editor opened by the first key
// takes that key by a posted message) arrives before the next key.
inline void TypeAndEnter(const char* text) {
    for (const char* c = text; *c; ++c) {
        QTest::keyClick(QApplication::focusWindow(), *c);
        QApplication::processEvents();
    }
    QTest::keyClick(QApplication::focusWindow(), Qt::Key_Return);
    QApplication::processEvents();
}

// An XML text as TinyXML prints it once parsed: two texts print alike when they hold the same elements, the same
// attributes in the same order and the same texts.
inline std::string Printed(const std::string& xml) {
    TiXmlDocument document;
    document.Parse(xml.c_str(), nullptr, TIXML_ENCODING_LEGACY);
    if (document.Error() || !document.RootElement())
        return "not XML: " + xml;
    TiXmlPrinter printer;
    document.Accept(&printer);
    return printer.CStr();
}
