#pragma once

#include "ui/DialogFields.h"

#include "platform/gui/ComboBox.h"
#include "platform/gui/Dialog.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <functional>
#include <string>

// Drives a set-up dialog as the operator does: it runs modally, and the test's part runs while it is shown.

// DoModal's result; the dialog stays open through operate unless something in it ends the dialog.
inline INT_PTR RunModal(CDialog& dialog, const std::function<void()>& operate) {
    ModalLoop previous = CDialog::SetModalLoop([&](CDialog&) { operate(); });
    const INT_PTR result = dialog.DoModal();
    CDialog::SetModalLoop(previous);
    return result;
}

inline QWidget* Widget(const CWnd& dialog, int id) {
    CWnd* item = dialog.GetDlgItem(id);
    return item ? item->GetHostWidget() : nullptr;
}

inline void Click(const CWnd& dialog, int id) {
    QWidget* widget = Widget(dialog, id);
    ASSERT_NE(widget, nullptr) << id;
    QTest::mouseClick(widget, Qt::LeftButton);
}

// Picks the entry that equals the text (GBK); an unknown text leaves nothing selected.
inline void Choose(const CWnd& dialog, int id, const char* text) {
    auto* combo = dynamic_cast<CComboBox*>(dialog.GetDlgItem(id));
    ASSERT_NE(combo, nullptr) << id;
    combo->SetCurSel(combo->FindStringExact(-1, text));
}

inline std::string Text(const CWnd& dialog, int id) { return ItemText(&dialog, id).Str(); }
inline bool Enabled(const CWnd& dialog, int id) { return Widget(dialog, id) && Widget(dialog, id)->isEnabled(); }

// Types where the keyboard focus is, as the operator's keys go, then presses Enter there. What the keys post (an
// editor opened by the first key takes that key by a posted message) arrives before the next key.
inline void TypeAndEnter(const char* text) {
    for (const char* c = text; *c; ++c) {
        QTest::keyClick(QApplication::focusWindow(), *c);
        QApplication::processEvents();
    }
    QTest::keyClick(QApplication::focusWindow(), Qt::Key_Return);
    QApplication::processEvents();
}

// A file of the working folder parsed back, in the encoding the program writes.
class Parsed {
public:
    explicit Parsed(const std::string& file) { m_ok = m_doc.LoadFile(file.c_str(), TIXML_ENCODING_LEGACY); }
    bool Ok() const { return m_ok; }
    TiXmlElement* Root() { return m_doc.RootElement(); }
    // The first element along a path of tags below the root ("LCDWALL/OUTPUT_MAPPING"), or null.
    TiXmlElement* At(const std::string& path) {
        TiXmlElement* e = Root();
        for (size_t start = 0; e && start <= path.size();) {
            const size_t end = std::min(path.find('/', start), path.size());
            e = e->FirstChildElement(path.substr(start, end - start).c_str());
            start = end + 1;
        }
        return e;
    }
    // The whole tree as TinyXML prints it: two trees print alike when they hold the same elements, attributes
    // (in order) and texts.
    std::string Printed() {
        TiXmlPrinter printer;
        m_doc.Accept(&printer);
        return printer.CStr();
    }

private:
    TiXmlDocument m_doc;
    bool m_ok;
};

inline std::string PrintedElement(const TiXmlElement* e) {
    TiXmlPrinter printer;
    if (e)
        e->Accept(&printer);
    return printer.CStr();
}
