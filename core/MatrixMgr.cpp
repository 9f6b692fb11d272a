#include "MatrixMgr.h"

#include "ErrorMessage.h"
#include "Matrix.h"
#include "MatrixXml.h"
#include "NotifyEvent.h"
#include "SystemConfig.h"

#include <new>

namespace {

const char kMatrixFile[] = "matrix.xml";
const char kSettingsFile[] = ".\\system.xml";

} // namespace

CMatrixMgr::CMatrixMgr(CWallModel* owner) : m_owner(owner), m_settings(nullptr) {
    m_xml = std::make_unique<CMatrixXml>(kMatrixFile, this);
    try {
        m_xml->ReadMatrices();
    } catch (const std::bad_alloc&) {
        // The matrices read so far go with the document: half a file is neither worked with nor written back.
        m_matrices.clear();
        m_xml->Discard(XmlLoadFault::kOutOfMemory);
    }
    m_settingsPath = kSettingsFile;
    m_settings = CSystemConfig::GetInstance();
    m_settings->Load(m_settingsPath);
}

CMatrixMgr::~CMatrixMgr() {
    m_matrices.clear();
    m_xml.reset();
}

const XmlLoadStatus& CMatrixMgr::GetLoadStatus() const { return m_xml->GetLoadStatus(); }

int CMatrixMgr::AddMatrix(std::unique_ptr<CMatrix> matrix) {
    if (matrix)
        m_matrices.push_back(std::move(matrix));
    return 0;
}

CMatrixMgr::Position CMatrixMgr::FindMatrix(const std::string& name) const {
    for (Position p = 0; p < m_matrices.size(); ++p)
        if (m_matrices[p]->GetName() == name)
            return p;
    return End();
}

CMatrix* CMatrixMgr::GetAt(Position position) const {
    return position < m_matrices.size() ? m_matrices[position].get() : nullptr;
}

int CMatrixMgr::SetMatrix(const std::string& matrix, const std::string& message, int input, int output,
                          CSendBudget* budget) {
    CMatrix* m = GetAt(FindMatrix(matrix));
    if (!m)
        return kResultFailed;
    // A message the matrix lacks sends nothing, so no switch is announced: none is shown or recorded as made. A
    // scene that holds such a switch replays past it.
    if (m->FindMessage(message) == m->MessagesEnd())
        return kResultOk;
    if (m->ExecuteCommand(input, output, message, budget) != 0)
        return kResultWriteFailed;
    BOOL own = FALSE;
    CCommPortSetting* port = m->GetPort(own);
    MatrixSetEvent event("MatrixSet");
    event.Set(matrix, message, input, output, port ? port->m_portName : std::string());
    Notify(&event);
    return kResultOk;
}

int CMatrixMgr::SaveMatrix(const std::string& oldName, CMatrix* matrix) {
    if (!matrix)
        return kResultInvalidParam;
    int r = m_xml->SaveMatrix(oldName, matrix);
    // The matrix has changed in memory whether or not the file took it; the pages must show it.
    MatrixChangeEvent event("MATRIX-CHANGE");
    event.m_matrix = matrix;
    event.m_oldName = oldName;
    Notify(&event);
    return r;
}

bool CMatrixMgr::TakesMatrix(const std::string& oldName, CMatrix* matrix) {
    return m_xml->TakesMatrix(oldName, matrix);
}

int CMatrixMgr::GetMatrixPageItems(int& itemX1, int& item02, int& item12, int& item22, int& item32) {
    m_settings->LoadMatrixPage(itemX1, item02, item12, item22, item32);
    return 1;
}

int CMatrixMgr::SetMatrixPageItems(int itemX1, int item02, int item12, int item22, int item32) {
    m_settings->SaveMatrixPage(itemX1, item02, item12, item22, item32);
    return 1;
}
