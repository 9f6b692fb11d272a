#pragma once

#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/ImageList.h"
#include "platform/gui/frame/Menu.h"
#include "platform/os/Version.h"

#include <memory>
#include <string>
#include <vector>

// One item of a bitmap menu: its text (a tab before the accelerator text), command id and flags, and its image.
class CBitmapMenuData {
public:
    CBitmapMenuData() = default;
    CBitmapMenuData(const CBitmapMenuData&) = delete;
    CBitmapMenuData& operator=(const CBitmapMenuData&) = delete;

    void SetWideString(LPCWSTR lpszText);
    // GBK text, kept as UTF-16.
    void SetAnsiString(LPCSTR lpszText);
    LPCWSTR GetWideString() const { return m_text.c_str(); }
    // The text in GBK, as it is drawn.
    CString GetString() const;

    std::u16string m_text;
    int m_imageOffset = -1; // in the item's own image list
    int m_sharedIndex = -1; // in the image list all bitmap menus share
    int m_ownImage = -1;    // 0 or more when the item has its own image list
    UINT m_flags = 0;
    UINT_PTR m_commandId = 0; // the sub-menu's handle for a pop-up item
    BOOL m_synchronised = FALSE;
    std::unique_ptr<CImageList> m_imageList;
};

// An owner-drawn menu with one record per item and a small image beside each item, taken from one image list
// that all bitmap menus share. Its items are drawn in a three-dimensional look or, on a themed desktop of the
// one system version that has it, in a flat look with a light image band. Sub-menus it makes are bitmap menus
// too, found again through a registry of their handles.
class CBitmapMenu : public CMenu {
    DECLARE_DYNAMIC(CBitmapMenu)
public:
    // The looks.
    enum { kDraw3D = 0, kDrawXP = 1 };

    CBitmapMenu();
    ~CBitmapMenu() override;

    // A menu bar from the menu tables, each pop-up a bitmap menu of its own; FALSE when no table holds it.
    virtual BOOL LoadMenu(UINT nIDResource);
    virtual BOOL LoadMenuTemplate(LPCTSTR lpszResourceName);
    // Also deletes the sub-menus it made and every record.
    virtual BOOL DestroyMenu();

    // Appends an owner-drawn item: a separator without an id, a pop-up with MF_POPUP and the sub-menu's handle
    // as the id. An image resource of 0 or more is a tool-bar picture holding the command's image (or an icon
    // handle when images are icons); below 0 the item takes the shared image kept for its command, if any.
    BOOL AppendODMenu(LPCWSTR lpszText, UINT nFlags = MF_OWNERDRAW, UINT_PTR nID = 0, int nImage = -1);
    // Replaces an item, by command or by position (MF_BYPOSITION), with a new record.
    BOOL ModifyODMenu(LPCWSTR lpszText, UINT nItem, UINT nFlags = MF_BYCOMMAND, int nImage = -1);

    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void DrawItemXP(LPDRAWITEMSTRUCT lpDrawItemStruct);
    void DrawItem3D(LPDRAWITEMSTRUCT lpDrawItemStruct);

    // Pads the texts before the tab with spaces, so the accelerator texts line up.
    void InsertSpaces();
    // Rebuilds the records from the menu as it stands, keeping the records of commands found again.
    void SynchronizeMenu();
    // The bitmap menu (this one or a sub-menu) holding the command, and its position there; null when none.
    CBitmapMenu* FindMenuItem(UINT nID, int& nLoc);
    BOOL GetMenuText(UINT nItem, CString& rString, UINT nFlags = MF_BYPOSITION) const;
    int GetRecordCount() const { return static_cast<int>(m_items.size()); }
    CBitmapMenuData* GetRecord(int nPos) const;

    // Whether a menu is one a bitmap menu made.
    static BOOL IsMenuHandle(HMENU hMenu);
    static BOOL IsMenuObject(const CMenu* pMenu);
    // WM_MENUCHAR on a bitmap menu's pop-up: MNC_EXECUTE with the position of the first item whose text has the
    // character after a single "&", in either case; 0 when none has or the menu is not a bitmap menu pop-up.
    static LRESULT FindKeyboardShortcut(UINT nChar, UINT nFlags, CMenu* pMenu);

    // 0 for the oldest systems; 2, 3 and 4 for the 95 family; 5, 6, 7 for NT 4, 5.0 and 5.1; 1 for every other
    // system and when the version cannot be read.
    static int GetOSVersionCode();
    // The code of a GetVersion value, with its version record when one could be read.
    static int OSVersionCodeOf(DWORD dwVersion, const OSVERSIONINFOA* pInfo);
    // Whether the desktop theme is the classic one, read once from the registry; FALSE without the key.
    static BOOL IsClassicTheme();
    static BOOL IsClassicThemeFile(LPCSTR lpszThemeFile);
    // The look the menus use: flat only on the themed desktop of code 7.
    static int GetEffectiveDrawMode();
    // Each channel c becomes c + (255 - c) * factor, for 0 < factor <= 1.
    static COLORREF LightenColor(COLORREF crColor, double dFactor);

    // The image list all bitmap menus share, and the command id of each of its images.
    static CImageList& GetSharedImageList();
    static const std::vector<int>& GetSharedImageIds();
    // Tests act out another system version through this; 0 reads the real one again.
    static void SetOSVersionCodeForTest(int nCode);

protected:
    BOOL ParseTemplateLevel(const BYTE*& p, const BYTE* end, int nDepth);
    // The image index of a command on a tool bar of the tables, 0 when the command is not on it.
    static int FindToolbarImage(UINT nToolBar, UINT nID);
    HBITMAP LoadSysColorBitmap(UINT nResourceID);
    // Adds the picture's images (or the icon, when images are icons), plus, with the image effects of the flat
    // look, a faded and a shadow copy of each after all of them.
    BOOL AddBitmapToImageList(CImageList* pList, UINT_PTR nResource);
    // Keeps one image of the list (and its copies) in the shared list under the command id; its index there.
    int AddToSharedImageList(CImageList* pList, int nIndex, UINT_PTR nID);
    void RefreshTopLevelPopups();
    // The image on a background of the button face, as a bitmap the caller deletes.
    HBITMAP GetImageBitmap(CImageList* pList, int nIndex);
    void DrawEmbossed(CDC* pDC, CImageList* pList, int nIndex, CPoint pt);
    void DrawEmbossedDIB(CDC* pDC, CImageList* pList, int nIndex, CPoint pt);
    void DrawImage(CDC* pDC, const CBitmapMenuData* pData, CPoint pt, BOOL bEmbossed, int nCopy = 0);
    BOOL HasImage(const CBitmapMenuData* pData) const;
    std::unique_ptr<CBitmapMenuData> NewRecord(LPCWSTR lpszText, UINT nFlags, UINT_PTR nID, int nImage);

    std::vector<std::unique_ptr<CBitmapMenuData>> m_items;
    std::vector<HMENU> m_subMenus;
    int m_imageWidth = 16;
    int m_imageHeight = 15;
    COLORREF m_bitmapBackground = RGB(192, 192, 192);
    BOOL m_useBitmapBackground = FALSE;
    BOOL m_disabledImageMethod = FALSE;
    CImageList* m_checkMarks = nullptr;
    BOOL m_checkMarksShared = FALSE;
    int m_selectedCheckId = -1;
    int m_unselectedCheckId = -1;
    BOOL m_imagesAreIcons = FALSE;
    BOOL m_loadedFromTemplate = FALSE;
};
