#pragma once

#include <QByteArray>
#include <QString>

// The values of a Jet 4 database as text, from the bytes the file holds.
namespace jet {

// A text or memo value: UTF-16LE, or, after the marker FF FE, "compressed" runs of one byte per
// character (U+0001–U+00FF) switched to and from UTF-16LE by a zero byte. Characters outside the
// Basic Multilingual Plane (surrogate pairs) are kept. Empty bytes give empty (not null) text.
// On bytes that are no such text (an odd length, a lone surrogate) returns a null QString and
// says why in Chinese.
QString decodeText(const QByteArray& bytes, QString* why);

// A Date/Time (days since 30 December 1899, the fraction the time of day) as MM-DD-YYYY, with
// " HH:MM:SS" after it when the time of day is not midnight.
QString dateText(double days);

// A number in plain decimal: no exponent, no grouping, as few digits as bring the value back.
QString numberText(double value);
QString numberText(float value);

} // namespace jet
