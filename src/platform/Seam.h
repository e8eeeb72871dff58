#pragma once

// One replaceable implementation per platform service. The base class of each service is its
// real Qt/OS implementation; tests install a subclass through the same seam and restore it after.
template <class T>
class Seam
{
public:
    static T& get()
    {
        T* current = slot();
        return current ? *current : fallback();
    }
    // Installs impl (not owned); nullptr restores the real implementation.
    static void set(T* impl) { slot() = impl; }

private:
    static T*& slot()
    {
        static T* current = nullptr;
        return current;
    }
    static T& fallback()
    {
        static T real;
        return real;
    }
};
