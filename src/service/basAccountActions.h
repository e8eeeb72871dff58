#pragma once

#include "service/ServiceOutcome.h"

#include <QString>

class QObject;

// The account operations the account windows send when the user asks. They take a parameter
// block and the caller's answer variable like the operations of basActions, but their failures
// pass to the caller (FailureHandling::ToCaller), whose box and log line tell them in the
// window's words: true on success; false only when the block could not be converted (the
// conversion has shown and logged it, and answer holds its text); any other failure raises
// AppError, a transport failure as the transport raised it. The settings they read and set are
// those of Props().

// GETCONTACTINFO: UserPhone, UserPhoneExt and UserEmail from "telephone||extension||e-mail", a
// telephone of ten characters regrouped as "(555) 010-0123". An empty answer sets nothing; an
// answer beginning with "<" (a page) is AppError 13 and a missing part AppError 9, both raised
// before anything is set.

// UPDATECONTACTINFO, reaching the server at most once (Delivery::AtMostOnce): true for the answer
// "CONTACTINFOCHANGED" in any letter case; any other answer is 6001 with the answer as its
// description. Nothing is stored here.

// CHANGEPASSWORD, reaching the server at most once: true for the answer "PASSWORDCHANGED" in any
// letter case; any other answer is 6001 with the answer, which may repeat the passwords sent, as
// its description. Nothing is stored here.

// The same without waiting. A failure comes back as the outcome (kind Failed or Refused, with its
// number and description) and nothing has been shown or logged: the window does both. Silent
// (errorText the conversion's text) when the block could not be converted.
void GetContactInfo(const QString& block, QObject* context, ServiceReply done);
void UpdateContactInfo(const QString& block, QObject* context, ServiceReply done);
void ChangePassword(const QString& block, QObject* context, ServiceReply done);
