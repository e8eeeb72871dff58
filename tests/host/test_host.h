#pragma once

#include <QObject>

class RecordsTest : public QObject
{
    Q_OBJECT
private slots:
    void birthDateCheck_data();
    void birthDateCheck();
    void containedRecordsAreCreatedOnceAndShared();
    void digitsOnly_data();
    void digitsOnly();
};

class ExportReaderTest : public QObject
{
    Q_OBJECT
private slots:
    void shortLayoutSplitsNames_data();
    void shortLayoutSplitsNames();
    void fieldCountChoosesLayoutAndCoBorrower_data();
    void fieldCountChoosesLayoutAndCoBorrower();
    void apostrophesRemovedByLayout_data();
    void apostrophesRemovedByLayout();
    void onlyFirstLineCounts_data();
    void onlyFirstLineCounts();
    void windows1252LettersRead();
    void badBirthDateReportedAndLoadingGoesOn();
    void failuresNameFileOrField_data();
    void failuresNameFileOrField();
    void exportFileLocationAndArchiveCopy();
    void readingCleansUpTheLoansPdfs();
};

class PdfCleanUpTest : public QObject
{
    Q_OBJECT
private slots:
    void keepsNewestUnderFirstFreeName_data();
    void keepsNewestUnderFirstFreeName();
    void missingFolderIsNothingToDo();
    void refusedWithoutTouchingFiles_data();
    void refusedWithoutTouchingFiles();
    void uniqueFileName_data();
    void uniqueFileName();
};

class ConfigTest : public QObject
{
    Q_OBJECT
private slots:
    void missingFilesGiveEmptyValues();
    void directoriesGetBackslash_data();
    void directoriesGetBackslash();
    void dataFolderList_data();
    void dataFolderList();
    void allFolderKeysFitWithoutOverrun();
    void profileRules_data();
    void profileRules();
    void configIniReadFromProgramFolder();
};
