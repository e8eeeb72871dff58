#pragma once

#include "core/AppContext.h"

// Counts requests to end the program instead of ending it, and clears the "ending" state the
// process keeps, before and after the test.
class EndRecorder
{
public:
    EndRecorder() : m_saved(WindowHooks::EndProgram())
    {
        WindowHooks::EndRequested() = false;
        WindowHooks::EndProgram() = [this] { ++count; };
    }
    ~EndRecorder()
    {
        WindowHooks::EndProgram() = m_saved;
        WindowHooks::EndRequested() = false;
    }
    EndRecorder(const EndRecorder&) = delete;
    EndRecorder& operator=(const EndRecorder&) = delete;

    int count = 0;

private:
    std::function<void()> m_saved;
};
