#pragma once

#include "XmlLoad.h"

#include <memory>
#include <string>

class CChannelTable;
class CMatrix;
class CMatrixMgr;
class CMessage;
class CMsgSegment;
class TiXmlDocument;
class TiXmlElement;

// "matrix.xml": read once into the manager's matrices; the document stays loaded so that a changed matrix
// can be written back into it with everything else left as it was.
class CMatrixXml {
public:
    // Loads the file; a missing or broken one leaves no root, so nothing is read and nothing is written.
    CMatrixXml(const std::string& path, CMatrixMgr* owner);
    CMatrixXml(const CMatrixXml&) = delete;
    CMatrixXml& operator=(const CMatrixXml&) = delete;
    ~CMatrixXml();

    // Every MATRIX child of the root, in order, added to the owner. 0.
    int ReadMatrices();
    // Each returns 64 when an argument is missing, else 0.
    int ReadMatrix(TiXmlElement* element, CMatrix* matrix);
    int ReadMessage(TiXmlElement* element, CMessage* message);
    int ReadBytesSegment(TiXmlElement* element, CMessage* message);
    int ReadInSegment(TiXmlElement* element, CMessage* message);
    int ReadOutSegment(TiXmlElement* element, CMessage* message);
    int ReadVerifySegment(TiXmlElement* element, CMessage* message);
    int ReadOperations(CMsgSegment* segment, TiXmlElement* element);
    int ReadConversion(CMsgSegment* segment, TiXmlElement* element);
    int ReadComm(TiXmlElement* element, CMatrix* matrix);
    int ReadChannel(TiXmlElement* element, CChannelTable* table);

    // Rewrites the name, type, COMM and CHANNEL of the first MATRIX named oldName and writes the whole file.
    // 0; -1 when there is no loaded document or the file could not be written (the document is changed
    // all the same, and the operator is told in an error box naming the file); kResultNotSaved, after telling the
    // operator, when the file would go over one of its limits (the document stays as it was); 64 without a matrix.
    int SaveMatrix(const std::string& oldName, CMatrix* matrix);
    // Whether the file would take the matrix written under oldName; false, after telling the operator which limit
    // it would go over, when not. The document stays as it is.
    bool TakesMatrix(const std::string& oldName, CMatrix* matrix);
    int WriteComm(TiXmlElement* element, CMatrix* matrix);
    int WriteChannel(TiXmlElement* element, CMatrix* matrix);

    // How the file's loading ended.
    const XmlLoadStatus& GetLoadStatus() const { return m_loadStatus; }
    // Drops the document as if it had failed to load for that reason: nothing more is read from it or written.
    void Discard(XmlLoadFault fault);

private:
    // The first MATRIX of that name; m_root must be there.
    TiXmlElement* FindMatrixElement(const std::string& name) const;
    void RewriteMatrix(TiXmlElement* element, CMatrix* matrix);

    std::string m_path;
    CMatrixMgr* m_owner;
    std::unique_ptr<TiXmlDocument> m_document;
    TiXmlElement* m_root;
    XmlLoadStatus m_loadStatus;
};
