#pragma once

#include <QString>

namespace store {
class Error;
}

namespace ui {

// What is wrong, in a sentence a school office can act on: which file, and why (chosen by the
// kind of failure and the engine's result code), with the engine's own text after it.
QString describe(const store::Error& error);

} // namespace ui
