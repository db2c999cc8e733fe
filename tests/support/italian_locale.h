#pragma once
// Switches the C library to an Italian locale (decimal comma), building it
// in a temporary folder with localedef when the system has not generated it.
// Returns false when no such locale can be had.

#include <string>

namespace testing_support {

bool useItalianLocale();
void restoreCLocale();

} // namespace testing_support
