#pragma once

#include "platform/gui/PropertyPage.h"

// The page "Matrix": a matrix, one of its commands and twenty channel buttons paged by twenty. What its
// controller reads of it.
class CPageMatrix : public CPropertyPage {
public:
    CPageMatrix();
    ~CPageMatrix() override;

    CString GetMatrixName() const;
    CString GetWordName() const;
    BOOL IsIncrease() const;
    // The matrix input that channel button k (1 to 20) stands for on the current page.
    int GetAbsoluteIndex(int button) const;

protected:
    int m_currentPage = 1;
};
