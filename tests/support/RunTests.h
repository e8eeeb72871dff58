#pragma once

#include <QTest>

// Runs several QtTest classes in one executable, one after another; non-zero when any failed.
template <class... Tests>
int RunTests(int argc, char** argv)
{
    int status = 0;
    const auto runOne = [&](auto&& test) { status |= QTest::qExec(&test, argc, argv); };
    (runOne(Tests()), ...);
    return status;
}
