#include "QtMessageBox.h"

#include "ModalFocus.h"
#include "TopLevelFrame.h"
#include "Wnd.h"
#include "platform/gui/base/GbkString.h"
#include "platform/gui/frame/ResourceTable.h"
#include "platform/gui/frame/WinApp.h"

#include "platform/os/MessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLayout>
#include <QMessageBox>
#include <QScreen>

#include <algorithm>
#include <vector>

namespace {

// The style word's button set; unknown sets show OK alone.
constexpr UINT kAbortRetryIgnore = 2;
constexpr UINT kYesNoCancel = 3;
constexpr UINT kRetryCancel = 5;
constexpr UINT kDefaultButtonMask = 0x00000F00;

constexpr int kIdAbort = 3;
constexpr int kIdRetry = 4;
constexpr int kIdIgnore = 5;

struct Choice {
    QMessageBox::StandardButton button;
    int id;
};

std::vector<Choice> ChoicesFor(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case kAbortRetryIgnore:
        return {{QMessageBox::Abort, kIdAbort}, {QMessageBox::Retry, kIdRetry}, {QMessageBox::Ignore, kIdIgnore}};
    case kYesNoCancel: return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNO: return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    case kRetryCancel: return {{QMessageBox::Retry, kIdRetry}, {QMessageBox::Cancel, IDCANCEL}};
    default: return {{QMessageBox::Ok, IDOK}};
    }
}

// Qt sizes a box to its text and buttons, narrower than a window manager needs to show the caption whole beside
// the title bar's buttons; the box is widened to that, each time Qt sizes it.
class CaptionWideBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        Widen();
    }
    bool event(QEvent* event) override {
        const bool done = QMessageBox::event(event);
        if (event->type() == QEvent::LayoutRequest)
            Widen();
        return done;
    }

private:
    void Widen() {
        const int screen = QApplication::primaryScreen() ? QApplication::primaryScreen()->availableSize().width() : 0;
        int wanted = CTopLevelFrame::Of(this)->WidthForTitle();
        if (screen > 0)
            wanted = std::min(wanted, screen);
        if (width() >= wanted)
            return;
        QLayout* boxLayout = layout();
        setFixedSize(wanted,
                     boxLayout && boxLayout->hasHeightForWidth() ? boxLayout->totalHeightForWidth(wanted) : height());
    }
};

int ShowBox(const std::string& gbkText, UINT type) {
    // Over the active window, else over the main window; that window gets the keyboard back afterwards.
    CWnd* main = AfxGetMainWnd();
    QWidget* mainWidget = main ? main->GetHostWidget() : nullptr;
    const CModalFocus focus(mainWidget && mainWidget->isVisible() ? mainWidget : nullptr);
    CaptionWideBox box(focus.Previous());
    // A title with a close button only: a message box is neither minimized nor maximized.
    box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                       Qt::WindowCloseButtonHint);
    CTopLevelFrame::Of(&box)->SetMinimizable(false);
    // The text is shown as it is: a name from a file or a folder may hold what Qt would take for markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(GbkToQString(gbkText));
    CTopLevelFrame::SetTitle(&box, MessageBoxCaption());
    switch (type & MB_ICONMASK) {
    case MB_ICONERROR: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONWARNING: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    const std::vector<Choice> choices = ChoicesFor(type);
    QMessageBox::StandardButtons buttons;
    for (const Choice& c : choices)
        buttons |= c.button;
    box.setStandardButtons(buttons);
    const size_t defaultIndex = std::min<size_t>((type & kDefaultButtonMask) >> 8, choices.size() - 1);
    box.setDefaultButton(choices[defaultIndex].button);
    box.exec();
    const QMessageBox::StandardButton clicked = box.standardButton(box.clickedButton());
    for (const Choice& c : choices)
        if (c.button == clicked)
            return c.id;
    // Closed without a button: Cancel where there is one, else the only answer there is.
    for (const Choice& c : choices)
        if (c.id == IDCANCEL)
            return IDCANCEL;
    return choices.back().id;
}

} // namespace

void InstallQtMessageBox() { SetMessageBoxHandler(ShowBox); }

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT /*nIDHelp*/) {
    CString text;
    AfxLoadString(nIDPrompt, text);
    return AfxMessageBox(text.Str(), nType);
}

int MessageBox(HWND /*hWnd*/, LPCTSTR lpText, LPCTSTR lpCaption, UINT uType) {
    return AfxMessageBoxWithCaption(lpText ? lpText : "", lpCaption ? lpCaption : "Error", uType);
}
