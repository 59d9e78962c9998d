#pragma once
// Whole numbers typed by users or stored in settings texts, read the way the
// program has always read them: an optional sign, then decimal digits or "$"
// and hexadecimal digits ("$A1" is 161), within the 32-bit range.
#include <QString>
#include <optional>

namespace platform {

// Anything else, the empty text and surrounding blanks included, gives no value.
std::optional<qint32> parseWholeNumber(const QString& text);

} // namespace platform
