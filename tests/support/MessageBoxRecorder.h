#pragma once

#include "platform/os/MessageBox.h"

#include <functional>
#include <string>
#include <vector>

// Records every message box instead of showing it, and answers with a chosen button.
class MessageBoxRecorder {
public:
    struct Shown {
        std::string text; // GBK
        UINT type;
        std::string caption; // GBK; empty for the application's name
    };

    explicit MessageBoxRecorder(int answer = IDOK);
    ~MessageBoxRecorder();

    const std::vector<Shown>& Boxes() const { return m_boxes; }

    // Runs at each box, while it would stand on the screen: what the operator sees beside it.
    std::function<void()> whenShown;

private:
    std::vector<Shown> m_boxes;
    int m_answer;
    MessageBoxHandler m_previous;
};
