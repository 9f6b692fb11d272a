#pragma once

#include "DC.h"

#include <QString>

#include <memory>

class QPdfWriter;

// A printer DC over a PDF writer: the device of a print job, usable from CreatePdf on. Its capabilities (HORZRES,
// VERTRES, LOGPIXELSX, LOGPIXELSY, NUMCOLORS ...) come from the page and resolution it was made with; every page after
// the first starts a new PDF page. The file is complete when EndDoc returns.
class CPrinterDC : public CDC {
    DECLARE_DYNAMIC(CPrinterDC)
public:
    CPrinterDC();
    ~CPrinterDC() override;

    // A4 portrait unless a page size in millimetres is given. FALSE when the file cannot be written. The name is in
    // the file system's encoding (see platform/os/FilePath.h).
    BOOL CreatePdf(LPCTSTR lpszPath, int nDotsPerInch = 600, double widthMm = 210.0, double heightMm = 297.0);
    int StartDoc(LPCTSTR lpszDocName);
    int StartPage();
    int EndPage();
    int EndDoc();
    int AbortDoc();
    int GetPageCount() const { return m_pages; }

private:
    std::unique_ptr<QPdfWriter> m_writer;
    int m_pages = 0;
    bool m_started = false;
    bool m_inPage = false;
    int m_savedState = 0;
    QString m_path;
};
