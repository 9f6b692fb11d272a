#pragma once

#include <iterator>
#include <map>
#include <string>

// The channel names of a matrix, by channel number.
class CChannelTable {
public:
    using Position = std::map<int, std::string>::const_iterator;

    CChannelTable();

    int GetCount() const { return m_count; }
    void SetCount(int count) { m_count = count; }

    // Inserts or replaces the name of a channel (any number, also outside 1..count). 0.
    int SetName(int number, const std::string& name);
    // Empty outside 1..count; else the stored name, or the number as text when it has none (then stored).
    std::string GetName(int number);

    // The stored names in ascending number.
    Position Begin() const { return m_names.begin(); }
    Position End() const { return m_names.end(); }
    Position Next(Position position) const { return position == m_names.end() ? position : std::next(position); }
    // false at the end; an empty name is given as the number's text (not stored).
    bool GetEntry(Position position, int& number, std::string& name) const;

private:
    int m_count;
    std::map<int, std::string> m_names;
};
