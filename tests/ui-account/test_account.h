#pragma once

#include <QObject>

// The account windows driven through their controls against the stand-in server, also as
// start-up opens them.
class AccountWindowsTest : public QObject
{
    Q_OBJECT
private slots:
    void messages_data();
    void messages();
    void clickSelectsWholeBox();
};
