#pragma once

class CMsgSegment;

// The kinds of segment operations, as the definitions file makes them.
enum OperationKind {
    kOpPlus = 1,
    kOpDiv = 2,
    kOpMod = 3,
    kOpAnd = 4,
    kOpCheckSum = 5,
    kOpCheckXor = 6,
    kOpToDecimalText = 7,
    kOpToHexText = 8,
    kOpKeepNumber = 9,
    kOpTextBytes = 10,
    kOpHexTextToNumber = 11,
    kOpDecimalTextToNumber = 12,
};

// One step that computes a segment's value; a segment applies its operations in order on every build.
class COperation {
public:
    COperation(CMsgSegment* segment, int kind) : m_segment(segment), m_kind(kind) {}
    COperation(const COperation&) = delete;
    COperation& operator=(const COperation&) = delete;
    virtual ~COperation() = default;

    // Works on the segment's scratch in place; allocates nothing. 1.
    virtual int Apply() = 0;

protected:
    CMsgSegment* m_segment;
    int m_kind;
};
