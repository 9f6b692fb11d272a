#include "tests/ui/PageFixture.h"

#include "ui/banner/PageMatrix.h"
#include "ui/banner/PageScene.h"

#include "skin/ShadeButton.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTabWidget>
#include <QTest>

#include <cstdlib>
#include <optional>

namespace {

// The sheet's room under the wall view at the program's start-up size.
constexpr int kRoomWidth = 960;
constexpr int kRoomHeight = 200;
// What a caption needs beside its text: a button's border, a check box's box, a list's arrow.
constexpr int kButtonMargin = 8;
constexpr int kListArrow = 24;

// The pages on the sample configuration (Chinese matrix, channel and scene names), in a window the size of the
// banner.
class PageLookTest : public PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        wall.dir.CopySample("system.xml");
        wall.dir.CopySample("matrix.xml");
        BuildWallWith(wall.dir.Read("system.xml"), wall.dir.Read("matrix.xml"));
        scene.emplace(view);
        matrix.emplace(view);
        host.emplace(std::initializer_list<CPropertyPage*>{&*scene, &*matrix});
    }
    void DestroyPages() override {
        host.reset();
        matrix.reset();
        scene.reset();
    }

    // Every control shown lies inside the page and inside the sheet, overlaps no other, shows its whole text, and
    // every push button is a skinned one.
    void ExpectReadable(CPropertyPage& page) {
        QWidget* pageWidget = page.GetHostWidget();
        QTabWidget* tabs = host->sheet.GetTabWidget();
        ASSERT_TRUE(pageWidget && tabs);
        EXPECT_LE(tabs->width(), kRoomWidth);
        EXPECT_LE(tabs->height(), kRoomHeight);
        const QRect sheetArea(tabs->mapTo(host->window.GetHostWidget(), QPoint(0, 0)), tabs->size());
        std::vector<QWidget*> shown;
        for (QWidget* control : pageWidget->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (!control->isVisible())
                continue;
            const QRect place = control->geometry();
            const std::string name = control->objectName().toStdString() + " " + Caption(control).toStdString();
            EXPECT_TRUE(pageWidget->rect().contains(place)) << name;
            EXPECT_TRUE(
                sheetArea.contains(QRect(control->mapTo(host->window.GetHostWidget(), QPoint(0, 0)), control->size())))
                << name;
            for (QWidget* other : shown)
                EXPECT_FALSE(place.intersects(other->geometry())) << name << " and " << Caption(other).toStdString();
            shown.push_back(control);
            EXPECT_LE(Needed(control), control->width()) << name;
            if (qobject_cast<QAbstractButton*>(control) && !qobject_cast<QCheckBox*>(control)) {
                EXPECT_NE(dynamic_cast<CShadeButton*>(CWnd::FromWidgetPermanent(control)), nullptr) << name;
            }
        }
        EXPECT_GT(shown.size(), 4u);
    }
    static QString Caption(const QWidget* control) {
        if (auto* label = qobject_cast<const QLabel*>(control))
            return label->text();
        if (auto* button = qobject_cast<const QAbstractButton*>(control))
            return button->text();
        if (auto* combo = qobject_cast<const QComboBox*>(control))
            return combo->currentText();
        return QString();
    }
    // The width the control's text takes with what goes beside it.
    static int Needed(const QWidget* control) {
        const int text = control->fontMetrics().horizontalAdvance(Caption(control));
        if (qobject_cast<const QCheckBox*>(control))
            return control->sizeHint().width();
        if (qobject_cast<const QAbstractButton*>(control))
            return text + kButtonMargin;
        if (auto* combo = qobject_cast<const QComboBox*>(control)) {
            int widest = text;
            for (int i = 0; i < combo->count(); ++i)
                widest = std::max(widest, control->fontMetrics().horizontalAdvance(combo->itemText(i)));
            return widest + kListArrow;
        }
        return text;
    }
    // Keeps a picture of the window when the caller asks for one.
    void Keep(const char* name) {
        QTest::qWait(50);
        if (const char* dir = std::getenv("VELTRANO_SCREENSHOT_DIR"))
            host->window.GetHostWidget()->grab().save(QString::fromUtf8(dir) + "/" + name);
    }

    std::optional<CPageScene> scene;
    std::optional<CPageMatrix> matrix;
    std::optional<PageHost> host;
};

} // namespace

TEST_F(PageLookTest, EveryLabelOfTheScenePageIsReadableInTheBannersRoom) {
    ExpectReadable(*scene);
    Keep("page-scene.png");
}

TEST_F(PageLookTest, EveryLabelOfTheMatrixPageIsReadableInTheBannersRoom) {
    host->Show(&*matrix);
    ASSERT_TRUE(matrix->GetSafeHwnd());
    ExpectReadable(*matrix);
    Keep("page-matrix.png");
    // The second matrix: its own port, and channel names beyond the first page.
    Choose(*matrix, 1086, 1);
    Click(*matrix, 1084);
    ExpectReadable(*matrix);
    Keep("page-matrix-own-port.png");
}
