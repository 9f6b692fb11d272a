#include "PageMatrix.h"

#include "BannerCtrl.h"
#include "MatrixCtrl.h"
#include "ui/forms/ButtonSkins.h"
#include "ui/forms/DialogFields.h"

#include "core/CommPort.h"
#include "core/ErrorMessage.h"
#include "core/Matrix.h"
#include "core/MatrixMgr.h"
#include "core/NotifyEvent.h"
#include "core/WallModel.h"

#include <algorithm>

namespace {

constexpr UINT kTemplate = 146;
constexpr int kTypeCombo = 1088;
constexpr int kMatrixCombo = 1086;
constexpr int kPortCombo = 1031;
constexpr int kWordCombo = 1105;
constexpr int kOpenPortCheck = 1106;
constexpr int kFormatStatic = 1091;
constexpr int kIncreaseCheck = 1083;
constexpr int kPrevButton = 1082;
constexpr int kNextButton = 1084;
// Button 1, then buttons 2 to 20.
constexpr int kFirstChannelButton = 1077;
constexpr int kSecondChannelButton = 1156;
constexpr int kLastChannelButton = 1174;

constexpr const char* kMatrixChange = "MATRIX-CHANGE";

int ChannelButtonId(int index) { return index == 0 ? kFirstChannelButton : kSecondChannelButton + index - 1; }

// The selected entry's own bytes: matrix and command names are compared byte-wise.
CString SelectedEntry(const CComboBox& combo) {
    CString text;
    if (combo.GetSafeHwnd())
        combo.GetLBText(combo.GetCurSel(), text);
    return text;
}

// Shows the entry that begins with the text, or none: a port or type the list lacks must not show another one.
void SelectPrefix(CComboBox& combo, const std::string& text) {
    const int index = text.empty() ? CB_ERR : combo.FindString(-1, text.c_str());
    combo.SetCurSel(index);
}

// The matrix index and the command index remembered for each of the first four matrices. A settings file without
// them shows the first matrix with its first command.
struct PageItems {
    int matrix = 0;
    int commands[4] = {0, 0, 0, 0};

    bool operator==(const PageItems& other) const {
        return matrix == other.matrix && std::equal(commands, commands + 4, other.commands);
    }
    void Load(CMatrixMgr* mgr) { mgr->GetMatrixPageItems(matrix, commands[0], commands[1], commands[2], commands[3]); }
    // Writes only a change: choosing what the file already holds rewrites nothing, and a file that cannot take the
    // choice is reported once for each choice.
    void StoreIfChanged(CMatrixMgr* mgr, const PageItems& stored) const {
        if (!(*this == stored))
            mgr->SetMatrixPageItems(matrix, commands[0], commands[1], commands[2], commands[3]);
    }
};

} // namespace

CPageMatrix::CPageMatrix(LcdGridCtrl* wallView)
    : CPropertyPage(kTemplate), m_matrixMgr(CWallModel::GetInstance()->GetMatrixMgr()),
      m_ctrl(std::make_unique<CMatrixCtrl>(CWallModel::GetInstance(), wallView)), m_currentMatrix(nullptr),
      m_port(nullptr), m_pageCount(0), m_channelCount(0), m_currentPage(1), m_setUp(FALSE) {
    m_matrixMgr->Register(kMatrixChange, this, &CPageMatrix::OnMatrixListChange);
    OnControl(kMatrixCombo, CBN_SELCHANGE, [this] { OnMatrixChange(); });
    OnControl(kWordCombo, CBN_SELCHANGE, [this] { OnWordChange(); });
    OnCommandId(kOpenPortCheck, [this] { OnOpenPort(); });
    OnCommandId(kPrevButton, [this] { OnPrevPage(); });
    OnCommandId(kNextButton, [this] { OnNextPage(); });
    OnCommandId(kFirstChannelButton, [this] { OnChannel(1); });
    OnCommandRange(kSecondChannelButton, kLastChannelButton,
                   [this](UINT id) { OnChannel(static_cast<int>(id) - kSecondChannelButton + 2); });
}

CPageMatrix::~CPageMatrix() { m_matrixMgr->Unregister(kMatrixChange, this); }

CString CPageMatrix::GetMatrixName() const { return SelectedEntry(m_matrixCombo); }
CString CPageMatrix::GetWordName() const { return SelectedEntry(m_wordCombo); }
BOOL CPageMatrix::IsIncrease() const { return IsItemChecked(this, kIncreaseCheck) ? TRUE : FALSE; }
int CPageMatrix::GetAbsoluteIndex(int button) const { return button + (m_currentPage - 1) * kButtonsPerPage; }

void CPageMatrix::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, kTypeCombo, m_typeCombo);
    DDX_Control(pDX, kMatrixCombo, m_matrixCombo);
    DDX_Control(pDX, kPortCombo, m_portCombo);
    DDX_Control(pDX, kWordCombo, m_wordCombo);
    DDX_Control(pDX, kOpenPortCheck, m_openPort);
    for (int i = 0; i < kButtonsPerPage; ++i)
        DDX_Control(pDX, ChannelButtonId(i), m_channels[i]);
}

BOOL CPageMatrix::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    for (CShadeButton& button : m_channels)
        SkinTextButton(&button);
    SkinTextButton(this, kPrevButton);
    SkinTextButton(this, kNextButton);

    for (CMatrixMgr::Position p = m_matrixMgr->Begin(); p != m_matrixMgr->End(); ++p)
        m_matrixCombo.AddString(m_matrixMgr->GetAt(p)->GetName().c_str());
    PageItems items;
    items.Load(m_matrixMgr);
    m_matrixCombo.SetCurSel(items.matrix);
    ShowMatrix();
    m_setUp = TRUE;
    return TRUE;
}

void CPageMatrix::OnMatrixChange() {
    ShowMatrix();
    if (!m_currentMatrix)
        return;
    PageItems items;
    items.Load(m_matrixMgr);
    const PageItems stored = items;
    items.matrix = m_matrixCombo.GetCurSel();
    items.StoreIfChanged(m_matrixMgr, stored);
}

void CPageMatrix::ShowMatrix() {
    if (!GetSafeHwnd())
        return;
    // No entry chosen is no matrix, though a matrix without a name would match the empty text.
    m_currentMatrix =
        m_matrixCombo.GetCurSel() < 0 ? nullptr : m_matrixMgr->GetAt(m_matrixMgr->FindMatrix(GetMatrixName()));
    if (!m_currentMatrix) {
        ShowNoMatrix();
        return;
    }
    SelectPrefix(m_typeCombo, SignalTypeToName(m_currentMatrix->GetSignalType()));

    BOOL own = FALSE;
    CCommPortSetting* port = m_currentMatrix->GetPort(own);
    m_port = own ? port : CWallModel::GetInstance()->GetCommPort();
    m_openPort.EnableWindow(own && m_port ? TRUE : FALSE);
    SelectPrefix(m_portCombo, m_port ? m_port->m_portName : std::string());
    m_openPort.SetCheck(m_port && m_port->IsOpen() ? BST_CHECKED : BST_UNCHECKED);

    const CChannelTable* channels = m_currentMatrix->GetChannelTable();
    m_channelCount = channels ? std::max(0, channels->GetCount()) : 0;
    m_pageCount = (m_channelCount - 1) / kButtonsPerPage + 1;
    m_currentPage = 1;
    EnableChannels(true);
    const int visible = std::min(m_channelCount, kButtonsPerPage);
    RelabelButtons(visible);
    ShowButtons(visible);

    m_wordCombo.ResetContent();
    for (CMatrix::Position p = m_currentMatrix->MessagesBegin(); p != m_currentMatrix->MessagesEnd();
         p = CMatrix::NextMessage(p))
        m_wordCombo.AddString(m_currentMatrix->MessageAt(p)->GetName().c_str());

    PageItems items;
    items.Load(m_matrixMgr);
    const int chosen = m_matrixCombo.GetCurSel();
    if (chosen >= 0 && chosen <= 3)
        m_wordCombo.SetCurSel(items.commands[chosen]);
    ShowFormat();
}

void CPageMatrix::ShowNoMatrix() {
    m_port = nullptr;
    m_channelCount = 0;
    m_pageCount = 1;
    m_currentPage = 1;
    m_typeCombo.SetCurSel(-1);
    m_portCombo.SetCurSel(-1);
    m_wordCombo.ResetContent();
    m_openPort.SetCheck(BST_UNCHECKED);
    m_openPort.EnableWindow(FALSE);
    for (CShadeButton& button : m_channels)
        button.ShowWindow(SW_SHOW);
    EnableChannels(false);
    EnableItem(this, kPrevButton, false);
    EnableItem(this, kNextButton, false);
    ShowFormat();
}

void CPageMatrix::EnableChannels(bool enable) {
    for (CShadeButton& button : m_channels)
        button.EnableWindow(enable ? TRUE : FALSE);
}

void CPageMatrix::ShowFormat() {
    if (!GetSafeHwnd())
        return;
    // Only the chosen command's own format: with none chosen the field is empty, so it never shows a format the
    // channel buttons would not send.
    const CMessage* message = m_currentMatrix && m_wordCombo.GetCurSel() >= 0
                                  ? m_currentMatrix->MessageAt(m_currentMatrix->FindMessage(GetWordName()))
                                  : nullptr;
    SetDlgItemText(kFormatStatic, message ? message->Format().c_str() : "");
}

void CPageMatrix::OnWordChange() {
    ShowFormat();
    // Without a matrix there is no command to remember.
    if (!GetSafeHwnd() || !m_currentMatrix)
        return;
    PageItems items;
    items.Load(m_matrixMgr);
    const PageItems stored = items;
    if (items.matrix >= 0 && items.matrix <= 3)
        items.commands[items.matrix] = m_wordCombo.GetCurSel();
    items.StoreIfChanged(m_matrixMgr, stored);
}

void CPageMatrix::RelabelButtons(int n) {
    CChannelTable* channels = m_currentMatrix ? m_currentMatrix->GetChannelTable() : nullptr;
    if (!channels)
        return;
    for (int i = 0; i < n && i < kButtonsPerPage; ++i)
        m_channels[i].SetWindowText(channels->GetName((m_currentPage - 1) * kButtonsPerPage + 1 + i).c_str());
}

void CPageMatrix::ShowButtons(int n) {
    for (int i = 0; i < kButtonsPerPage; ++i)
        m_channels[i].ShowWindow(i < n ? SW_SHOW : SW_HIDE);
    EnableItem(this, kNextButton, m_currentPage < m_pageCount);
    EnableItem(this, kPrevButton, m_currentPage != 1);
}

void CPageMatrix::GoToPage(int page) {
    if (!m_currentMatrix || page < 1 || page > m_pageCount)
        return;
    m_currentPage = page;
    const int visible = std::min(m_channelCount - (page - 1) * kButtonsPerPage, kButtonsPerPage);
    RelabelButtons(visible);
    ShowButtons(visible);
}

void CPageMatrix::OnPrevPage() { GoToPage(m_currentPage - 1); }
void CPageMatrix::OnNextPage() { GoToPage(m_currentPage + 1); }

void CPageMatrix::OnChannel(int button) {
    if (m_currentMatrix)
        m_ctrl->SwitchChannel(GetMatrixName(), GetWordName(), IsIncrease(), GetAbsoluteIndex(button));
}

void CPageMatrix::OnOpenPort() {
    // Only a matrix's own port opens here: the wall's port belongs to the banner's "Open" and "Close".
    BOOL own = FALSE;
    CCommPortSetting* port = m_currentMatrix ? m_currentMatrix->GetPort(own) : nullptr;
    if (!port || !own)
        return;
    m_port = port;
    if (m_openPort.GetCheck() == BST_CHECKED) {
        if (!CBannerCtrl::OpenPortDevice(*port)) {
            m_openPort.SetCheck(BST_UNCHECKED);
            ShowErrorMessage(kResultOpenFailed, "");
        }
    } else {
        port->Close();
    }
}

void CPageMatrix::OnMatrixListChange(NotifyEvent* event) {
    auto* change = dynamic_cast<MatrixChangeEvent*>(event);
    if (!m_setUp || !GetSafeHwnd() || !change)
        return;
    if (change->m_matrix && change->m_matrix->GetName() != change->m_oldName) {
        // The list holds the manager's matrices in its order, so the entry is found by the matrix itself: a search
        // by the old name would take another matrix of that name, or one that differs only in case.
        int index = -1;
        for (CMatrixMgr::Position p = m_matrixMgr->Begin(); p != m_matrixMgr->End(); ++p)
            if (m_matrixMgr->GetAt(p) == change->m_matrix)
                index = static_cast<int>(p);
        if (index >= m_matrixCombo.GetCount())
            index = m_matrixCombo.FindStringExact(-1, change->m_oldName.c_str());
        const int selected = m_matrixCombo.GetCurSel();
        if (index >= 0)
            m_matrixCombo.DeleteString(static_cast<UINT>(index));
        const int inserted = m_matrixCombo.InsertString(index, change->m_matrix->GetName().c_str());
        if (index >= 0 && index == selected)
            m_matrixCombo.SetCurSel(inserted);
    }
    ShowMatrix();
}
