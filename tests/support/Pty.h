#pragma once

#include <string>
#include <vector>

// A pseudo-terminal pair: the program opens the slave as its serial device, the test reads the master.
class Pty {
public:
    Pty();
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    const std::string& SlavePath() const { return m_slavePath; }
    int MasterFd() const { return m_master; }

    // Every byte that arrives until the line has been quiet for quietMs.
    std::vector<unsigned char> ReadAvailable(int quietMs = 100);
    // Exactly count bytes, or what arrived before timeoutMs ran out.
    std::vector<unsigned char> Read(size_t count, int timeoutMs = 2000);
    // Writes to the slave behind the program's back until the line takes no more, as when the peer stops
    // reading.
    void FillUntilFull();
    // Stops the peer's side: the slave's writes then fail.
    void CloseMaster();

private:
    int m_master;
    std::string m_slavePath;
};
