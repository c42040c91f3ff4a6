#pragma once

// Ends the program: the event loop returns with the code and main() returns it. Tests
// give one that only counts, so that a workstation that decides to end can be watched.
class IProgramExit
{
public:
    virtual ~IProgramExit() = default;
    virtual void exitProgram(int code) = 0;
};

class EventLoopExit : public IProgramExit
{
public:
    void exitProgram(int code) override;
};

// Remembers that the program was told to end, and how often.
class RecordedExit : public IProgramExit
{
public:
    void exitProgram(int code) override
    {
        ++m_count;
        m_code = code;
    }
    int count() const { return m_count; }
    int code() const { return m_code; }

private:
    int m_count = 0;
    int m_code = 0;
};
