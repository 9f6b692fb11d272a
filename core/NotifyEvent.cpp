#include "NotifyEvent.h"

void MatrixSetEvent::Set(const std::string& matrix, const std::string& message, int input, int output,
                         const std::string& port) {
    m_matrix = matrix;
    m_message = message;
    m_input = input;
    m_output = output;
    m_port = port;
}

void MatrixSetEvent::GetFields(std::string& matrix, std::string& message, int& input, int& output,
                               std::string& port) const {
    matrix = m_matrix;
    message = m_message;
    input = m_input;
    output = m_output;
    port = m_port;
}

void SceneNameChangeEvent::SetNames(const std::string& oldName, const std::string& newName) {
    m_oldName = oldName;
    m_newName = newName;
}
