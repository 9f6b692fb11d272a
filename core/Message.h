#pragma once

#include "MsgSegment.h"
#include "platform/os/Types.h"

#include <memory>
#include <string>
#include <vector>

// A message is built into a buffer of this many bytes; a message that would need more is not built.
constexpr int kMessageBufferSize = 128;

// One named message of a matrix: its segments' bytes in order, and the message to send after it.
class CMessage {
public:
    explicit CMessage(const std::string& name);
    CMessage(const CMessage&) = delete;
    CMessage& operator=(const CMessage&) = delete;
    ~CMessage();

    const std::string& GetName() const { return m_name; }
    // Takes the segment; a null one is ignored.
    void AddSegment(std::unique_ptr<CMsgSegment> segment);
    void SetFollowup(const std::string& item, int delay);
    const std::string& GetFollowupItem() const { return m_followupItem; }
    int GetFollowupDelay() const { return m_followupDelay; }

    // Builds the bytes for input lowIn and output highIn into out (len: in the buffer length, out the bytes
    // built). 0; -1 when out is null, len is not positive, or a segment or the whole message would not fit
    // (len unchanged then). Allocates nothing.
    int Build(int lowIn, int highIn, BYTE* out, int& len);
    // The segments' texts joined with "-".
    std::string Format() const;

    // The state of the build in progress, for the segments.
    int GetLowIn() const { return m_lowIn; }
    int GetHighIn() const { return m_highIn; }
    const BYTE* GetOut() const { return m_out; }
    // Bytes of the build in progress placed so far (before the segment being built).
    int GetBuiltLength() const { return m_built; }

private:
    std::vector<std::unique_ptr<CMsgSegment>> m_segments;
    std::string m_name;
    int m_lowIn;
    int m_highIn;
    BYTE* m_out;
    int m_outLen;
    int m_built;
    std::string m_followupItem;
    int m_followupDelay;
};
