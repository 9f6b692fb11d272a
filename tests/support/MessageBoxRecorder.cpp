#include "MessageBoxRecorder.h"

MessageBoxRecorder::MessageBoxRecorder(int answer) : m_answer(answer) {
    m_previous = SetMessageBoxHandler([this](const std::string& text, UINT type) {
        m_boxes.push_back({text, type, MessageBoxCaption()});
        if (whenShown)
            whenShown();
        return m_answer;
    });
}

MessageBoxRecorder::~MessageBoxRecorder() { SetMessageBoxHandler(std::move(m_previous)); }
