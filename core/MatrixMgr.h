#pragma once

#include "Notify.h"
#include "XmlLoad.h"

#include <memory>
#include <string>
#include <vector>

class CMatrix;
class CMatrixXml;
class CSendBudget;
class CSystemConfig;
class CWallModel;

// Owns every matrix described in "matrix.xml". Every matrix switch goes through it; it raises "MatrixSet"
// after a switch went out and "MATRIX-CHANGE" after a matrix was written back.
class CMatrixMgr : public CNotify {
public:
    using Position = size_t;

    // Reads "matrix.xml" from the current folder (a missing or broken file gives no matrices) and takes the
    // settings holder for the matrix page's selections.
    explicit CMatrixMgr(CWallModel* owner);
    ~CMatrixMgr() override;

    // Takes the matrix; a null one is ignored. 0.
    int AddMatrix(std::unique_ptr<CMatrix> matrix);
    // The first matrix of that exact name, else End().
    Position FindMatrix(const std::string& name) const;
    Position Begin() const { return 0; }
    Position End() const { return m_matrices.size(); }
    // Null at (or past) the end. Step with CMatrix::NextMessage.
    CMatrix* GetAt(Position position) const;

    // Sends message of matrix with input and output, within the budget of the action it is part of (alone, it has
    // one of its own). 0 and "MatrixSet"; 0 and no event when the matrix has no such message; -1 when there is no
    // such matrix; 16 when a message cannot be built, a write failed or the matrix's own port is closed.
    int SetMatrix(const std::string& matrix, const std::string& message, int input, int output,
                  CSendBudget* budget = nullptr);
    // Writes the changed matrix into "matrix.xml" under its old name and raises "MATRIX-CHANGE". 0, or the
    // writer's failure (the change stands in memory and the event is raised all the same).
    int SaveMatrix(const std::string& oldName, CMatrix* matrix);
    // Whether "matrix.xml" would take the matrix written under its old name; false, after telling the operator which
    // limit it would go over, when not.
    bool TakesMatrix(const std::string& oldName, CMatrix* matrix);

    // How the loading of "matrix.xml" ended.
    const XmlLoadStatus& GetLoadStatus() const;

    int GetMatrixPageItems(int& itemX1, int& item02, int& item12, int& item22, int& item32);
    int SetMatrixPageItems(int itemX1, int item02, int item12, int item22, int item32);

private:
    std::vector<std::unique_ptr<CMatrix>> m_matrices;
    CWallModel* m_owner;
    std::unique_ptr<CMatrixXml> m_xml;
    std::string m_settingsPath;
    CSystemConfig* m_settings;
};
