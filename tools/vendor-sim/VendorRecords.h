#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <array>

// Plain records of what the stand-in vendor keeps. They are filled from the seed file and changed
// by the actions; nothing here talks to the network.

// Bureau slots, in the order in which status answers list them.
enum Bureau { Experian = 0, Equifax = 1, TransUnion = 2, BureauCount = 3 };

// Bureau status codes as the client reads them: 0 not on the report, 1 in progress; anything else
// is a finished bureau. 4 is the code for a complete merged file (the client enables RMCR on it).
constexpr int StatusNotOrdered = 0;
constexpr int StatusInProgress = 1;
constexpr int StatusComplete = 4;

// Overall report status meaning "waiting for an RMCR request to finish".
constexpr int OverallRmcrPending = 64;
constexpr int OverallActive = 1;

struct Account {
    QString userName;
    QString password;
    QString longName; // display name offered in other users' login-by-reference lists
    QString company;
    QString department;
    std::array<bool, BureauCount> bureauRights{true, true, true};
    bool passwordExpired = false;
    bool canChangePassword = true;
    bool crossCompanyReissue = false;
    QStringList loginByReference; // user names this account may order for
    QString phone;
    QString extension;
    QString email;
    bool newsUnread = false; // answered by CHECKMESSAGES until the news page has been seen
};

struct Applicant {
    QString firstName;
    QString lastName;
    QString middleName;
    QString suffix;
    QString ssn; // digits only
    QString dob; // MM/dd/yyyy as the client sends it, may be empty
};

// Who a report is about and where they live: what an order asks for and a report keeps.
struct LoanParties {
    QString reference;
    Applicant borrower;
    bool joint = false;
    Applicant coBorrower;
    QString address;
    QString city;
    QString state;
    QString zip;
};

struct Report : LoanParties {
    QString id;                   // the GUID the client keeps as its report ID
    QString owner;                // user name the order was placed for
    QString placedBy;             // user who placed it (differs under login by reference)
    QString company;              // owner's company; only this company (and reissue grants) sees it
    QStringList grantedCompanies; // companies that found it by reissue number
    QString reissueNumber;
    QDate requested;
    int reportType = 1;
    int overallStatus = OverallActive;
    std::array<int, BureauCount> finalStatus{StatusNotOrdered, StatusNotOrdered, StatusNotOrdered};
    std::array<int, BureauCount> previousStatus{StatusNotOrdered, StatusNotOrdered, StatusNotOrdered};
    bool orderedThisRun = false; // made by REQUEST; seeded reports are finished from the start
    int statusPollsSeen = 0;     // GET_STATUS polls answered so far
    int pdfPollsSeen = 0;        // GET_PDF polls answered PENDING so far
    QString keywords;            // "", REQUEST or UPGRADE: what kind of order made this version
    QString previousId;          // the version this one repulls or upgrades
    QString source;
    QString losVersion;
    QString pdfToken; // unguessable part of the download path
    QString orderKey; // identity of the order, for finding an identical pending one
};

// Behaviour the seed or the control endpoints can change.
struct ServerKnobs {
    int statusPolls = 2;
    int pdfPolls = 1;
    QString latestVersion = QStringLiteral("1.1.0");
    QString downloadPath = QStringLiteral("/downloads/QuillClientSetup.exe");
    QString supportPhone;
    QString supportEmail;
};
