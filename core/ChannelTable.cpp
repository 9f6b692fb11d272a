#include "ChannelTable.h"

CChannelTable::CChannelTable() : m_count(0) {}

int CChannelTable::SetName(int number, const std::string& name) {
    m_names[number] = name;
    return 0;
}

std::string CChannelTable::GetName(int number) {
    if (number < 1 || number > m_count)
        return std::string();
    std::string& name = m_names[number];
    if (name.empty())
        name = std::to_string(number);
    return name;
}

bool CChannelTable::GetEntry(Position position, int& number, std::string& name) const {
    if (position == m_names.end())
        return false;
    number = position->first;
    name = position->second.empty() ? std::to_string(number) : position->second;
    return true;
}
