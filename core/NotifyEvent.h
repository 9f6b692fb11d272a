#pragma once

#include <string>

class CMatrix;

// Every event record begins with the event's name; a subscriber serving several names reads the name first
// and then treats the record as that event's type.
class NotifyEvent {
public:
    explicit NotifyEvent(const std::string& name) : m_name(name) {}
    virtual ~NotifyEvent() = default;

    std::string GetName() const { return m_name; }

protected:
    std::string m_name;
};

// "MatrixSet": one matrix switch, as sent.
class MatrixSetEvent : public NotifyEvent {
public:
    explicit MatrixSetEvent(const std::string& name) : NotifyEvent(name) {}

    void Set(const std::string& matrix, const std::string& message, int input, int output, const std::string& port);
    void GetFields(std::string& matrix, std::string& message, int& input, int& output, std::string& port) const;

    std::string m_matrix;
    std::string m_message;
    int m_input = 0;
    int m_output = 0;
    std::string m_port;
};

// "MATRIX-CHANGE": a matrix's settings were written.
class MatrixChangeEvent : public NotifyEvent {
public:
    explicit MatrixChangeEvent(const std::string& name) : NotifyEvent(name) {}

    CMatrix* m_matrix = nullptr;
    std::string m_oldName;
};

// "SceneNameChange": a scene was renamed.
class SceneNameChangeEvent : public NotifyEvent {
public:
    explicit SceneNameChangeEvent(const std::string& name) : NotifyEvent(name) {}

    void SetNames(const std::string& oldName, const std::string& newName);

    std::string m_oldName;
    std::string m_newName;
};
