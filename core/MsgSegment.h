#pragma once

#include "Operation.h"
#include "platform/os/Types.h"

#include <memory>
#include <string>
#include <vector>

class CMessage;

// A segment builds into a scratch of this many bytes; a segment that would need more is not built.
constexpr int kSegmentScratchSize = 32;

// What a segment's scratch holds during a build.
enum SegmentMode {
    kModeValue = 0, // a 32-bit value, little-endian; the segment gives its low byte
    kModeText = 1,  // text bytes
    kModeBytes = 2, // raw bytes
};

// One part of a message: it contributes bytes computed by its operations.
class CMsgSegment {
public:
    explicit CMsgSegment(CMessage* owner);
    CMsgSegment(const CMsgSegment&) = delete;
    CMsgSegment& operator=(const CMsgSegment&) = delete;
    virtual ~CMsgSegment();

    // Builds into buf (len: in the scratch length, out the bytes produced). 1 when built; 0 when the segment's
    // bytes would not fit the scratch (len 0: nothing of it may be sent).
    virtual int Build(BYTE* buf, int& len);
    virtual std::string GetText() const = 0;
    // Takes the operation; a null one is ignored.
    virtual void AddOperation(std::unique_ptr<COperation> operation);
    // Checksums read the message through this; other segments leave both untouched.
    virtual void GetMessageBuffer(const BYTE*& buf, int& len) const;
    virtual void GetValue(int& value) const;
    // The segment's constant text, without copying; other segments leave both untouched.
    virtual void GetString(const char*& text, int& length) const;
    virtual void SetBytes(const BYTE* bytes, int count);
    virtual void SetString(const char* text, int length);
    virtual void SetValue(int value);
    virtual void LoadInput();
    virtual int ApplyOperations();

    // A conversion whose text cannot be made marks the segment as not buildable.
    void MarkTooLong() { m_tooLong = true; }

protected:
    CMessage* m_owner;
    std::vector<std::unique_ptr<COperation>> m_operations;
    BYTE* m_buf;    // the scratch, only while a build runs
    int m_len;      // the current byte count
    int m_mode;     // SegmentMode
    int m_capacity; // the scratch length of the build in progress
    bool m_tooLong; // the build in progress needs more than the scratch
};
