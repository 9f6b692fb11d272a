#pragma once

#include "WallFixture.h"

#include "platform/gui/dialogs/PropertySheet.h"
#include "platform/gui/window/Wnd.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

class CPropertyPage;
class QComboBox;
class QWidget;

// A window as wide as the banner holding a property sheet with the given pages, as the banner hosts them: a page's
// window is built when its tab first shows.
class PageHost {
public:
    explicit PageHost(std::initializer_list<CPropertyPage*> pages);
    ~PageHost();

    // Brings the page's tab in front, building the page the first time.
    void Show(CPropertyPage* page);

    CWnd window;
    CPropertySheet sheet;
};

// The settings file with more sections before its end.
std::string WithSections(const std::string& settings, const std::string& sections);
// A switch of the test matrices' "SW": A5, input, output, the XOR of the three.
std::vector<unsigned char> SwitchFrame(int input, int output);
std::vector<unsigned char> Join(std::initializer_list<std::vector<unsigned char>> parts);

// The wall fixture with settings and matrices of the test's own, and the operator's hands on a page's controls.
class PageFixture : public WallFixture {
protected:
    PageFixture();
    ~PageFixture() override;
    void TearDown() override;

    // Writes the files and builds the wall view as BuildWall does, on a 2 x 3 wall.
    void BuildWallWith(const std::string& settings, const std::string& matrices);
    // The pages go before the wall view they send through.
    virtual void DestroyPages() {}

    static QWidget* Widget(CWnd& page, int id);
    static std::string Text(CWnd& page, int id);
    // The entries of a list, in order.
    static std::vector<std::string> Entries(CWnd& page, int id);
    static bool Shown(CWnd& page, int id);
    static bool Enabled(CWnd& page, int id);
    // A mouse click on the control, as the operator makes it.
    static void Click(CWnd& page, int id);
    // Opens the list and clicks the entry.
    static void Choose(CWnd& page, int id, int index);
    // Selects all of an editable list's text and types over it.
    static void Type(CWnd& page, int id, const char* text);

private:
    std::unique_ptr<LcdGridCtrl> m_ownView;
};
