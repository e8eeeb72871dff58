#pragma once

#include <QString>

// Keeps only the characters "0" to "9", in order; everything else (hyphens, blanks, other
// scripts' digits) is dropped. Social security numbers and other numeric fields go through it.
QString DigitsOnly(const QString& text);
