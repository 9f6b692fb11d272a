#include "PrinterDC.h"

#include "platform/gui/base/GbkString.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CPrinterDC, CDC)

CPrinterDC::CPrinterDC() = default;

CPrinterDC::~CPrinterDC() {
    if (m_writer)
        AbortDoc();
}

BOOL CPrinterDC::CreatePdf(LPCTSTR lpszPath, int nDotsPerInch, double widthMm, double heightMm) {
    if (m_writer || !lpszPath || !*lpszPath || nDotsPerInch <= 0 || widthMm <= 0 || heightMm <= 0)
        return FALSE;
    // Qt writes the file only when the painter ends; find out now whether it can be written at all.
    const QString path = LocalFileName(lpszPath);
    QFile probe(path);
    if (!probe.open(QIODevice::WriteOnly))
        return FALSE;
    probe.close();
    m_path = path;
    m_writer = std::make_unique<QPdfWriter>(m_path);
    m_writer->setResolution(nDotsPerInch);
    m_writer->setPageSize(QPageSize(QSizeF(widthMm, heightMm), QPageSize::Millimeter));
    m_writer->setPageMargins(QMarginsF(0, 0, 0, 0));
    m_pages = 0;
    // The DC answers for its device from now on, as a printer DC does before its document starts.
    if (!AttachPaintDevice(m_writer.get())) {
        m_writer.reset();
        return FALSE;
    }
    return TRUE;
}

int CPrinterDC::StartDoc(LPCTSTR /*lpszDocName*/) {
    if (!m_writer || !m_hDC || m_started)
        return -1;
    m_started = true;
    return 1;
}

int CPrinterDC::StartPage() {
    if (!m_writer || !m_hDC || !m_started || m_inPage)
        return -1;
    // The PDF has its first page already; each later page is a new one.
    if (m_pages > 0 && !m_writer->newPage())
        return -1;
    ++m_pages;
    m_inPage = true;
    m_savedState = SaveDC();
    return 1;
}

int CPrinterDC::EndPage() {
    if (!m_inPage)
        return -1;
    // Every page starts with the DC as the document began: mapping and objects set for one page stay there.
    RestoreDC(m_savedState);
    m_inPage = false;
    return 1;
}

int CPrinterDC::EndDoc() {
    if (!m_writer || !m_hDC)
        return -1;
    if (m_inPage)
        EndPage();
    DetachPaintDevice();
    m_writer.reset();
    return 1;
}

int CPrinterDC::AbortDoc() {
    if (!m_writer)
        return -1;
    m_inPage = false;
    DetachPaintDevice();
    m_writer.reset();
    // An abandoned job leaves no half-written file behind.
    QFile::remove(m_path);
    return 1;
}
