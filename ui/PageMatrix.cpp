#include "PageMatrix.h"

#include "DialogFields.h"

namespace {

constexpr UINT kTemplate = 146;
constexpr int kMatrixCombo = 1086;
constexpr int kWordCombo = 1105;
constexpr int kIncreaseCheck = 1083;
constexpr int kButtonsPerPage = 20;

} // namespace

CPageMatrix::CPageMatrix() : CPropertyPage(kTemplate) {}
CPageMatrix::~CPageMatrix() = default;

CString CPageMatrix::GetMatrixName() const { return ItemText(this, kMatrixCombo); }
CString CPageMatrix::GetWordName() const { return ItemText(this, kWordCombo); }
BOOL CPageMatrix::IsIncrease() const { return IsItemChecked(this, kIncreaseCheck) ? TRUE : FALSE; }
int CPageMatrix::GetAbsoluteIndex(int button) const { return button + (m_currentPage - 1) * kButtonsPerPage; }
