#pragma once

#include <QString>

namespace quillon {

// The pattern language of the log's exclusion list, case-sensitive:
// "*" any run of characters (also none), "?" one character, "#" one digit,
// "[abc]" one of the listed characters, "[a-f]" one in the range, "[!...]"
// one not listed. Inside brackets "*", "?" and "#" stand for themselves, and
// a "-" first or last is a plain hyphen. "[]" matches nothing (no character);
// a "[" without its "]" is a plain "[". Every other character matches itself.
bool blnLikeMatch(const QString& text, const QString& pattern);

}  // namespace quillon
