#pragma once

// Shows the wait cursor over the whole application for its lifetime; nested ones stack.
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    // Shows the wait cursor again after something (a message box) changed the cursor.
    void Restore();

private:
    bool m_shown = false;
};
