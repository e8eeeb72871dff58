#pragma once

#include <QObject>

class ParamsTest : public QObject
{
    Q_OBJECT
private slots:
    void blockIsBuiltInOrder();
    void valuesReadBackExactly_data();
    void valuesReadBackExactly();
    void fieldString_data();
    void fieldString();
    void criterionWithoutNameFails();
    void webPageEncoding_data();
    void webPageEncoding();
    void illegalChars_data();
    void illegalChars();
    void shellErrorText_data();
    void shellErrorText();
};

class TransportTest : public QObject
{
    Q_OBJECT
private slots:
    void unreachableServer_data();
    void unreachableServer();
    void addressOtherThanWebIsRefused_data();
    void addressOtherThanWebIsRefused();
    void malformedSearchAnswerShowsProblem_data();
    void malformedSearchAnswerShowsProblem();
};
